#include "ui/lineshape.h"

#include "ui/twips.h"

#include <QPainter>

#include <algorithm>

LineShape::LineShape(float x1, float y1, float x2, float y2, QWidget *parent)
    : QWidget(parent)
    , m_x1(x1)
    , m_y1(y1)
    , m_x2(x2)
    , m_y2(y2)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    place();
}

void LineShape::setY2(float twips)
{
    m_y2 = twips;
    place();
    update();
}

// The widget's rectangle spans the pixels of both end points.
void LineShape::place()
{
    const QPoint p1(pixelsFromTwips(m_x1), pixelsFromTwips(m_y1));
    const QPoint p2(pixelsFromTwips(m_x2), pixelsFromTwips(m_y2));
    setGeometry(QRect(QPoint(std::min(p1.x(), p2.x()), std::min(p1.y(), p2.y())),
                      QPoint(std::max(p1.x(), p2.x()), std::max(p1.y(), p2.y()))));
}

void LineShape::paintEvent(QPaintEvent *)
{
    const QPoint origin = pos();
    const QPoint p1 = QPoint(pixelsFromTwips(m_x1), pixelsFromTwips(m_y1)) - origin;
    const QPoint p2 = QPoint(pixelsFromTwips(m_x2), pixelsFromTwips(m_y2)) - origin;
    // One logical pixel wide: two device pixels on a display of ratio 2.
    QPen pen(palette().color(QPalette::WindowText), 1, Qt::SolidLine, Qt::SquareCap);
    pen.setCosmetic(false);
    QPainter painter(this);
    painter.setPen(pen);
    painter.drawLine(QPointF(p1) + QPointF(0.5, 0.5), QPointF(p2) + QPointF(0.5, 0.5));
}
