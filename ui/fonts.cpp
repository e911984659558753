#include "ui/fonts.h"

#include <QFontMetrics>
#include <QLabel>
#include <QStringList>

#include <algorithm>
#include <cmath>

namespace {
// Below this a caption would no longer be legible; it is cut off then.
constexpr double SmallestPointSize = 6.5;
constexpr double PointSizeStep = 0.25;
} // namespace

QFont classicFont(double pointSize)
{
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                      QStringLiteral("Sans Serif")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    font.setBold(true);
    return font;
}

void fitCaptions(const QList<QLabel *> &labels, int rightEdge)
{
    if (labels.isEmpty())
        return;
    auto needed = [](const QLabel *label, const QFont &font) {
        return QFontMetrics(font).horizontalAdvance(label->text()) + 1;
    };
    auto fits = [&](const QFont &font) {
        return std::all_of(labels.begin(), labels.end(), [&](const QLabel *label) {
            return needed(label, font) <= rightEdge - label->x();
        });
    };
    QFont font = labels.first()->font();
    if (!fits(font)) {
        // Text widths grow about in step with the point size: the first size
        // tried is the one the widths at this size call for, so that only
        // the font finally used is loaded (loading one takes milliseconds).
        double scale = 1.0;
        for (const QLabel *label : labels)
            scale = std::min(scale, double(rightEdge - label->x()) / needed(label, font));
        const double estimate =
            std::floor(font.pointSizeF() * scale / PointSizeStep) * PointSizeStep;
        font.setPointSizeF(std::max(estimate, SmallestPointSize));
    }
    while (!fits(font) && font.pointSizeF() - PointSizeStep >= SmallestPointSize)
        font.setPointSizeF(font.pointSizeF() - PointSizeStep);
    for (QLabel *label : labels) {
        if (font != label->font())
            label->setFont(font);
        const int widest = rightEdge - label->x();
        label->setFixedWidth(std::max(label->width(), std::min(needed(label, font), widest)));
    }
}
