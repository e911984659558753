#pragma once

#include <QPoint>

class QWidget;

// The point of a widget's centre in the coordinates of its window.
QPoint centreInWindow(const QWidget *widget);

// Real input on the ball, as the window system delivers it: press and
// release, or press, release, double click, release.
void clickBall(QWidget &window, bool twice);
