#include "ui/centre.h"

#include <QEvent>
#include <QScreen>
#include <QWidget>

namespace {

QPoint centredTopLeft(const QWidget *window, QSize outerSize)
{
    const QPoint middle = window->screen()->availableGeometry().center();
    return middle - QPoint((outerSize.width() - 1) / 2, (outerSize.height() - 1) / 2);
}

// Waits for the window manager's frame: Qt learns it when the framed window
// is placed, which moves the client area by the frame's left and top. It is
// no child of the window, whose children are its controls alone.
class FrameCentring : public QObject
{
public:
    explicit FrameCentring(QWidget *window)
        : m_window(window)
    {
        window->installEventFilter(this);
        // Not deleteLater(): a window destroyed as the program ends outlives
        // the event loop that would run it.
        connect(window, &QObject::destroyed, this, [this] { delete this; });
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::Move && event->type() != QEvent::Resize)
            return false;
        const QRect frame = m_window->frameGeometry();
        if (frame.size() == m_window->size() || !m_window->screen())
            return false;
        m_window->removeEventFilter(this);
        deleteLater();
        // A window's position is that of its frame.
        m_window->move(centredTopLeft(m_window, frame.size()));
        return false;
    }

private:
    QWidget *m_window;
};

} // namespace

void centreOnScreen(QWidget *window)
{
    if (!window->screen())
        return;
    window->move(centredTopLeft(window, window->size()));
    new FrameCentring(window);
}
