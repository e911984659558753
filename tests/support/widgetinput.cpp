#include "support/widgetinput.h"

#include <QTest>
#include <QWidget>
#include <QWindow>

QPoint centreInWindow(const QWidget *widget)
{
    return widget->mapTo(widget->window(), widget->rect().center());
}

void clickBall(QWidget &window, bool twice)
{
    QWindow *handle = window.windowHandle();
    const QPoint at = centreInWindow(window.findChild<QWidget *>(QStringLiteral("Ball")));
    if (twice)
        QTest::mouseDClick(handle, Qt::LeftButton, {}, at);
    else
        QTest::mouseClick(handle, Qt::LeftButton, {}, at);
}
