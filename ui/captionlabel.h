#pragma once

#include <QLabel>
#include <QList>

// A caption of fixed place and height. The layouts were drawn for the
// narrow "MS Sans Serif"; the sans serifs of a Linux desktop run wider. A
// caption widens to its text up to a right edge; only when even that is too
// narrow is its text drawn narrower, in its own font, so that no word is cut
// off. A font of another size would cost a font match before the first
// frame. Text, font and accessible name stay the caption's own.
//
// A label of values (a score, a name) that may outgrow its room elides
// instead: its text ends in "…" at the label's edge rather than being cut
// inside a letter, and stays whole for text() and screen readers.
class CaptionLabel : public QLabel
{
    Q_OBJECT

public:
    using QLabel::QLabel;

    // The share of its natural width that the text is drawn in: 1, or less
    // when it had to be narrowed.
    qreal condensation() const { return m_condensation; }

    // Fits the captions left of rightEdge, a pixel column of their parent.
    // Captions that stand together are narrowed together, by the share the
    // tightest of them needs.
    static void fit(const QList<CaptionLabel *> &captions, int rightEdge);

    // Ends a text too wide for the label in "…" instead.
    void setElided(bool elided) { m_elided = elided; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    qreal m_condensation = 1.0;
    bool m_elided = false;
};
