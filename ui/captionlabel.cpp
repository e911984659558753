#include "ui/captionlabel.h"

#include <QPainter>
#include <QStyle>
#include <QtMath>

#include <algorithm>

namespace {
// Narrower than this the letters run into one another; the caption is cut
// off at its edge then.
constexpr qreal SmallestCondensation = 0.7;

int naturalWidth(const QLabel *label)
{
    // One pixel more than the advance: the last letter's ink may overhang it.
    return label->fontMetrics().horizontalAdvance(label->text()) + 1;
}
} // namespace

void CaptionLabel::fit(const QList<CaptionLabel *> &captions, int rightEdge)
{
    qreal condensation = 1.0;
    for (CaptionLabel *caption : captions) {
        const int needed = naturalWidth(caption);
        const int room = rightEdge - caption->x();
        caption->setFixedWidth(std::max(caption->width(), std::min(needed, room)));
        condensation = std::min(condensation, qreal(caption->width()) / needed);
    }
    condensation = std::max(condensation, SmallestCondensation);
    for (CaptionLabel *caption : captions) {
        if (caption->m_condensation != condensation) {
            caption->m_condensation = condensation;
            caption->update();
        }
    }
}

// Drawn as a plain label draws its text.
void CaptionLabel::paintEvent(QPaintEvent *event)
{
    if (m_condensation >= 1.0 && !m_elided) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    QRect room = contentsRect();
    QString shown = text();
    if (m_elided) {
        shown = fontMetrics().elidedText(shown, Qt::ElideRight, room.width());
    } else {
        // Narrowed towards the left edge, where the caption begins.
        painter.scale(m_condensation, 1.0);
        room.setWidth(qCeil(room.width() / m_condensation));
    }
    style()->drawItemText(&painter, room, QStyle::visualAlignment(layoutDirection(), alignment()),
                          palette(), isEnabled(), shown, foregroundRole());
}
