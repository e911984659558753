#include "ui/ballimage.h"

#include "ui/twips.h"

#include <QApplication>
#include <QImageReader>
#include <QMouseEvent>
#include <QPaintEngine>
#include <QPainter>
#include <QStyleHints>

namespace {
const QString PicturePath = QStringLiteral(":/ball.bmp");
// Drawn for displays of device pixel ratio above 1.
const QString LargePicturePath = QStringLiteral(":/ball@2x.bmp");
} // namespace

BallImage::BallImage(const DesktopDoubleClick &desktop, QWidget *parent)
    : QWidget(parent)
    , m_desktop(desktop)
{
    setFixedSize(QImageReader(PicturePath).size());
    // Every pixel is painted: the picture carries the window's cyan itself.
    setAttribute(Qt::WA_OpaquePaintEvent);
    qApp->installEventFilter(this);
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

void BallImage::forgetPresses()
{
    m_pendingPress.reset();
    m_clickPress.reset();
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

bool BallImage::eventFilter(QObject *watched, QEvent *event)
{
    // A double click's second press reaches the window as a press and then
    // as a double click; only the press is counted.
    if (event->type() == QEvent::MouseButtonPress && watched->isWindowType())
        ++m_windowPresses;
    return false;
}

void BallImage::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        leftPress(event);
}

// Qt sends this for the second press of any pair in the window, also when
// the first press went to another widget; the ball decides itself.
void BallImage::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        leftPress(event);
}

void BallImage::leftPress(const QMouseEvent *event)
{
    const bool touch = event->pointingDevice()->type() == QInputDevice::DeviceType::TouchScreen;
    const Press press{m_windowPresses, event->timestamp(), event->globalPosition(), touch};
    const bool second = m_clickPress && pairsWith(*m_clickPress, press);
    m_clickPress.reset();
    if (second) {
        m_pendingPress.reset();
        emit doubleClicked();
    } else {
        m_pendingPress = press;
    }
}

// Events sent to the widget directly pass no window and count as following
// one another.
bool BallImage::pairsWith(const Press &first, const Press &second) const
{
    const QStyleHints *hints = QGuiApplication::styleHints();
    const int interval = m_desktop.intervalMs.value_or(hints->mouseDoubleClickInterval());
    const int distance = second.touch ? hints->touchDoubleTapDistance()
                                      : m_desktop.distancePx.value_or(hints->mouseDoubleClickDistance());
    const bool nothingBetween = second.serial - first.serial <= 1 && first.touch == second.touch;
    const bool soon = second.timestamp - first.timestamp < static_cast<quint64>(interval);
    const bool near = (second.globalPosition - first.globalPosition).manhattanLength() <= distance;
    return nothingBetween && second.timestamp >= first.timestamp && soon && near;
}

// The widget holds the mouse grab from the press on, so the release arrives
// here even when the moving ball has left the pointer behind.
void BallImage::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_pendingPress)
        return;
    m_clickPress = m_pendingPress;
    m_pendingPress.reset();
    emit clicked();
}
