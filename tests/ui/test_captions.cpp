#include "ui/captionlabel.h"

#include <QApplication>
#include <QImage>
#include <QTest>

namespace {

// The captions' room in these tests: a caption at x = 8 left of x = 86, as
// in the main window's left column.
constexpr int Left = 8;
constexpr int RightEdge = 86;

struct Captions
{
    QWidget parent;

    CaptionLabel *add(const QString &text, int designWidth = 40)
    {
        auto *caption = new CaptionLabel(text, &parent);
        const int row = static_cast<int>(parent.children().size());
        caption->setGeometry(Left, 8 + 24 * row, designWidth, 17);
        caption->setFixedSize(caption->size());
        return caption;
    }
};

int naturalWidth(const QLabel *label)
{
    return label->fontMetrics().horizontalAdvance(label->text()) + 1;
}

// The columns from the first to the last one with any ink in them; (-1, -1)
// when the label draws nothing.
std::pair<int, int> inkColumns(QWidget *label)
{
    QImage image(label->size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    label->render(&image, {}, {}, QWidget::DrawChildren);
    int first = -1;
    int last = -1;
    for (int x = 0; x < image.width(); ++x) {
        for (int y = 0; y < image.height(); ++y) {
            if (qAlpha(image.pixel(x, y)) > 0) {
                first = first < 0 ? x : first;
                last = x;
                break;
            }
        }
    }
    return {first, last};
}

} // namespace

class TestCaptions : public QObject
{
    Q_OBJECT

private slots:
    void aCaptionWithRoomWidensToItsWordsAndIsDrawnAsAPlainLabel();
    void aCaptionTooWideForItsRoomIsDrawnNarrowerAndWhole();
    void captionsThatStandTogetherAreNarrowedTogether();
    void narrowerThanSevenTenthsTheCaptionIsCutAtItsEdgeInstead();
};

// A caption keeps its place, height and font and widens no further than its
// words need; drawn at its natural width it looks like any label.
void TestCaptions::aCaptionWithRoomWidensToItsWordsAndIsDrawnAsAPlainLabel()
{
    Captions captions;
    CaptionLabel *caption = captions.add(QStringLiteral("Klicks"), 20);
    QLabel plain(caption->text(), &captions.parent);
    const QFont font = caption->font();
    CaptionLabel::fit({caption}, RightEdge);
    QCOMPARE(caption->condensation(), 1.0);
    QCOMPARE(caption->pos(), QPoint(Left, 32));
    QCOMPARE(caption->height(), 17);
    QCOMPARE(caption->width(), naturalWidth(caption));
    QCOMPARE(caption->font(), font);
    plain.setFixedSize(caption->size());
    QCOMPARE(caption->grab().toImage(), plain.grab().toImage());

    CaptionLabel *wide = captions.add(QStringLiteral("Klicks"), 60);
    CaptionLabel::fit({wide}, RightEdge);
    QCOMPARE(wide->width(), 60);
}

// Wider than its room, a caption takes the whole room and draws its text
// narrower in its own font, so that the last letter ends inside the room:
// widened afterwards, the label shows the same text ending where it did.
void TestCaptions::aCaptionTooWideForItsRoomIsDrawnNarrowerAndWhole()
{
    Captions captions;
    const QString text = QStringLiteral("Normale Klicks");
    CaptionLabel *caption = captions.add(text);
    QVERIFY2(naturalWidth(caption) > RightEdge - Left
                 && naturalWidth(caption) * 0.7 < RightEdge - Left,
             "the text must be somewhat too wide in this font");
    const QFont font = caption->font();
    CaptionLabel::fit({caption}, RightEdge);
    QCOMPARE(caption->width(), RightEdge - Left);
    QCOMPARE(caption->font(), font);
    QCOMPARE(caption->text(), text);
    QVERIFY(caption->condensation() < 1.0);
    QVERIFY(caption->condensation() * (naturalWidth(caption) - 1) <= caption->width());

    const auto [left, right] = inkColumns(caption);
    QVERIFY(left >= 0 && left <= 2);
    caption->setFixedWidth(2 * RightEdge);
    const auto [wideLeft, wideRight] = inkColumns(caption);
    QCOMPARE(wideLeft, left);
    QVERIFY2(wideRight == right, qPrintable(QStringLiteral("%1 %2").arg(wideRight).arg(right)));
    QVERIFY(right < RightEdge - Left);
}

// Captions of one column look alike: all are narrowed by the share the
// tightest needs, and those with room keep their natural width.
void TestCaptions::captionsThatStandTogetherAreNarrowedTogether()
{
    Captions captions;
    CaptionLabel *shortOne = captions.add(QStringLiteral("Klicks"), 20);
    CaptionLabel *longOne = captions.add(QStringLiteral("Normale Klicks"));
    CaptionLabel::fit({shortOne, longOne}, RightEdge);
    QVERIFY(longOne->condensation() < 1.0);
    QCOMPARE(shortOne->condensation(), longOne->condensation());
    QCOMPARE(shortOne->width(), naturalWidth(shortOne));
    QCOMPARE(longOne->width(), RightEdge - Left);
}

// Narrower the letters would run into one another: the caption is drawn at
// seven tenths and its end is cut off at the label's edge (full blocks ink
// every column they cover).
void TestCaptions::narrowerThanSevenTenthsTheCaptionIsCutAtItsEdgeInstead()
{
    Captions captions;
    CaptionLabel *caption = captions.add(QString(16, QChar(0x2588)));
    QVERIFY(naturalWidth(caption) * 0.7 > RightEdge - Left);
    CaptionLabel::fit({caption}, RightEdge);
    QCOMPARE(caption->condensation(), 0.7);
    QCOMPARE(caption->width(), RightEdge - Left);
    QCOMPARE(inkColumns(caption).second, caption->width() - 1);
}

QTEST_MAIN(TestCaptions)
#include "test_captions.moc"
