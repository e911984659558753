// Draws the program's pictures: the ball (50 x 50 and a 100 x 100 variant for
// displays of device pixel ratio 2) and the window-symbol icon in five sizes.
// Usage: make_pictures [output directory]; by default the assets folder.

#include <QColor>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QLinearGradient>
#include <QPainter>

#include <cstdio>

namespace {

const QColor WindowCyan(0, 255, 255);

// Drawn four times larger and scaled down: a smooth rim on the cyan square.
QImage drawBall(int size)
{
    const int large = size * 4;
    QImage image(large, large, QImage::Format_RGB32);
    image.fill(WindowCyan);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal margin = large * 0.03;
    const QRectF circle(margin, margin, large - 2 * margin, large - 2 * margin);
    QLinearGradient shading(circle.left(), 0, circle.right(), 0);
    shading.setColorAt(0.00, QColor(12, 18, 128));
    shading.setColorAt(0.22, QColor(40, 70, 210));
    shading.setColorAt(0.50, QColor(246, 246, 255));
    shading.setColorAt(0.78, QColor(170, 70, 225));
    shading.setColorAt(1.00, QColor(105, 20, 150));
    painter.setPen(Qt::NoPen);
    painter.setBrush(shading);
    painter.drawEllipse(circle);
    painter.end();
    return image.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

// A small window: frame, blue title bar with a close box, white client area.
QImage drawIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    const qreal unit = size / 16.0;
    const QRectF outer(0.5 * unit, 1.5 * unit, 15 * unit, 13 * unit);
    painter.setRenderHint(QPainter::Antialiasing, size > 16);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(48, 52, 64));
    painter.drawRect(outer);
    const qreal frame = qMax(1.0, size / 32.0);
    const QRectF inner = outer.adjusted(frame, frame, -frame, -frame);
    const QRectF title(inner.left(), inner.top(), inner.width(), 3 * unit);
    QLinearGradient bar(title.left(), 0, title.right(), 0);
    bar.setColorAt(0, QColor(0, 40, 170));
    bar.setColorAt(1, QColor(60, 130, 230));
    painter.setBrush(bar);
    painter.drawRect(title);
    painter.setBrush(QColor(250, 250, 250));
    painter.drawRect(inner.adjusted(0, 3 * unit, 0, 0));
    painter.setBrush(QColor(220, 220, 220));
    painter.drawRect(QRectF(title.right() - 2.5 * unit, title.top() + 0.75 * unit,
                            1.75 * unit, 1.5 * unit));
    return image;
}

// In a format Qt reads without a plug-in, named by the path's suffix: the
// ball as BMP, which the first frame decodes without inflating anything,
// the icon as PNG, which is decoded after it.
bool save(const QImage &image, const QString &path)
{
    QImageWriter writer(path);
    if (writer.write(image))
        return true;
    std::fprintf(stderr, "%s: %s\n", qPrintable(path), qPrintable(writer.errorString()));
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(ASSETS_DIR));
    bool ok = save(drawBall(50), out.filePath(QStringLiteral("ball.bmp")));
    ok = save(drawBall(100), out.filePath(QStringLiteral("ball@2x.bmp"))) && ok;
    for (int size : {16, 32, 48, 64, 128})
        ok = save(drawIcon(size), out.filePath(QStringLiteral("icon%1.png").arg(size))) && ok;
    return ok ? 0 : 1;
}
