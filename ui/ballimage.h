#pragma once

#include <QPixmap>
#include <QWidget>

// The image Ball: the ball picture at its own size, placed in twips. The
// position is held exactly as set and shown at the nearest pixel.
//
// Clicks follow the double-click rule of the game: press and release of the
// left button give clicked(); the second press of a double click gives
// doubleClicked() instead, and its release gives nothing.
class BallImage : public QWidget
{
    Q_OBJECT

public:
    explicit BallImage(QWidget *parent = nullptr);

    float leftTwips() const { return m_left; }
    float topTwips() const { return m_top; }
    void setLeftTwips(float twips);
    void setTopTwips(float twips);
    float widthTwips() const;
    float heightTwips() const;

signals:
    void clicked();
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void place();
    const QPixmap &picture(qreal devicePixelRatio);

    // Each decoded once, when it is first drawn.
    QPixmap m_picture;
    QPixmap m_largePicture;
    float m_left = 0;
    float m_top = 0;
    // A left press whose release is still to come and makes a click.
    bool m_clickPending = false;
};
