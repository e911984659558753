#pragma once

#include <QWidget>

// The line Line1: a straight line between two end points in twips, drawn 1
// pixel wide and solid in the palette's text colour. The widget covers just
// the line and lets the mouse through to what lies below.
class LineShape : public QWidget
{
    Q_OBJECT

public:
    LineShape(float x1, float y1, float x2, float y2, QWidget *parent = nullptr);

    float x1() const { return m_x1; }
    float y2() const { return m_y2; }
    void setY2(float twips);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void place();

    float m_x1;
    float m_y1;
    float m_x2;
    float m_y2;
};
