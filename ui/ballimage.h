#pragma once

#include "platform/desktopdoubleclick.h"

#include <QPixmap>
#include <QPointF>
#include <QWidget>

#include <optional>

// The image Ball: the ball picture at its own size, placed in twips. The
// position is held exactly as set and shown at the nearest pixel.
//
// Clicks follow the double-click rule of the game: press and release of the
// left button give clicked(); a second press on the ball within the
// desktop's double-click time and distance of a click on it gives
// doubleClicked() instead, and its release gives nothing. Qt pairs presses
// per window, so the ball pairs them itself: a press elsewhere in between,
// or a first press that went to another widget, makes no double click.
// The time and distance are the desktop's where it sets them, else Qt's.
// A tap on a touch screen is a press and release, as Qt makes them from it
// for a widget that takes no touch events; a second tap pairs within Qt's
// touch double-tap distance. A pen is a mouse.
class BallImage : public QWidget
{
    Q_OBJECT

public:
    // desktop must outlive the ball; it may change at any time.
    explicit BallImage(const DesktopDoubleClick &desktop, QWidget *parent = nullptr);

    float leftTwips() const { return m_left; }
    float topTwips() const { return m_top; }
    void setLeftTwips(float twips);
    void setTopTwips(float twips);
    // A game starts: no press from before pairs with one after, whatever
    // came between (a key may start it without a press).
    void forgetPresses();
    float widthTwips() const;
    float heightTwips() const;

signals:
    void clicked();
    void doubleClicked();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    struct Press
    {
        quint64 serial; // of the window presses, see m_windowPresses
        quint64 timestamp; // milliseconds, the window system's clock
        QPointF globalPosition;
        bool touch;
    };

    void place();
    void leftPress(const QMouseEvent *event);
    bool pairsWith(const Press &first, const Press &second) const;
    const QPixmap &picture(qreal devicePixelRatio);

    const DesktopDoubleClick &m_desktop;
    // Each decoded once, when it is first drawn.
    QPixmap m_picture;
    QPixmap m_largePicture;
    float m_left = 0;
    float m_top = 0;
    // Every press of any button in any window of the program, counted as the
    // window receives it, before a widget does.
    quint64 m_windowPresses = 0;
    // A left press whose release is still to come and makes a click.
    std::optional<Press> m_pendingPress;
    // The press of the last click, while a second press may pair with it.
    std::optional<Press> m_clickPress;
};
