#include "ui/ballimage.h"

#include "ui/twips.h"

#include <QImageReader>
#include <QMouseEvent>
#include <QPaintEngine>
#include <QPainter>

namespace {
const QString PicturePath = QStringLiteral(":/ball.png");
// Drawn for displays of device pixel ratio above 1.
const QString LargePicturePath = QStringLiteral(":/ball@2x.png");
} // namespace

BallImage::BallImage(QWidget *parent)
    : QWidget(parent)
{
    setFixedSize(QImageReader(PicturePath).size());
    // Every pixel is painted: the picture carries the window's cyan itself.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void BallImage::setLeftTwips(float twips)
{
    m_left = twips;
    place();
}

void BallImage::setTopTwips(float twips)
{
    m_top = twips;
    place();
}

float BallImage::widthTwips() const
{
    return twipsFromPixels(width());
}

float BallImage::heightTwips() const
{
    return twipsFromPixels(height());
}

void BallImage::place()
{
    move(pixelsFromTwips(m_left), pixelsFromTwips(m_top));
}

const QPixmap &BallImage::picture(qreal devicePixelRatio)
{
    const bool large = devicePixelRatio > 1.0;
    QPixmap &pixmap = large ? m_largePicture : m_picture;
    // Through QImage: QPixmap's own loading asks the resource for its time,
    // which reads the time zone.
    if (pixmap.isNull()) {
        pixmap = QPixmap::fromImage(QImage(large ? LargePicturePath : PicturePath));
        pixmap.setDevicePixelRatio(large ? 2.0 : 1.0);
    }
    return pixmap;
}

void BallImage::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    // The ratio of the surface really painted on: the screen's backing store
    // or, when rendered, the target image.
    const qreal ratio = painter.paintEngine()->paintDevice()->devicePixelRatioF();
    painter.drawPixmap(rect(), picture(ratio));
}

void BallImage::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_clickPending = true;
}

// The widget holds the mouse grab from the press on, so the release arrives
// here even when the moving ball has left the pointer behind.
void BallImage::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_clickPending)
        return;
    m_clickPending = false;
    emit clicked();
}

void BallImage::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_clickPending = false;
    emit doubleClicked();
}
