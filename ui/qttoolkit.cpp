#include "ui/qttoolkit.h"

#include "game/gameerror.h"
#include "platform/steadytimer.h"
#include "ui/accessibility.h"
#include "ui/ballimage.h"
#include "ui/centre.h"
#include "ui/high.h"
#include "ui/lineshape.h"
#include "ui/programidentity.h"
#include "ui/qttexts.h"
#include "ui/twips.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QLabel>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTimer>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

const QString ProgramTitle = QString::fromUtf8(ProgramIdentity::Title);

// Some desktops' styles put pictures on dialog buttons; the game's boxes
// show their words alone.
void removeButtonPictures(const QWidget *dialog)
{
    for (const QDialogButtonBox *buttons : dialog->findChildren<QDialogButtonBox *>()) {
        for (QAbstractButton *button : buttons->buttons())
            button->setIcon(QIcon());
    }
}

// Qt wraps a message wider than half the screen, so at larger scales the end
// report would break before "Fehler:"; as wide as its longest line, the
// message keeps its lines and the box grows instead, up to the screen's width.
void keepLinesWhole(QMessageBox &box)
{
    auto *text = box.findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
    if (!text)
        return;
    const QFontMetricsF metrics(text->font());
    qreal widest = 0;
    for (const QString &line : box.text().split(u'\n'))
        widest = qMax(widest, metrics.horizontalAdvance(line));
    const QMargins margins = text->contentsMargins();
    const int width = static_cast<int>(std::ceil(widest)) + margins.left() + margins.right() + 1;
    const QScreen *screen = box.screen();
    // A tenth of the screen is left for the box's margins and frame.
    const int room = screen ? screen->availableGeometry().width() * 9 / 10 : width;
    text->setMinimumWidth(qMin(width, room));
}

void endProcess()
{
    std::fflush(nullptr);
    std::_Exit(1);
}

} // namespace

QtToolkit::QtToolkit(const MainWindowControls &controls, SettingsPlace settingsPlace, Bell &bell,
                     Bell &windowSystemBell, std::function<void()> terminate)
    : m_controls(controls)
    , m_settingsPlace(std::move(settingsPlace))
    , m_terminate(terminate ? std::move(terminate) : endProcess)
    , m_bell(bell)
    , m_windowSystemBell(windowSystemBell)
{
}

// The high-score window has no owner; it goes with the program.
QtToolkit::~QtToolkit()
{
    delete m_high;
}

QLabel *QtToolkit::label(Label which) const
{
    switch (which) {
    case Label::lblZeit: return m_controls.lblZeit;
    case Label::lblPunkte: return m_controls.lblPunkte;
    case Label::lblPunkte2: return m_controls.lblPunkte2;
    }
    std::abort();
}

QAction *QtToolkit::menuItem(MenuItem which) const
{
    switch (which) {
    case MenuItem::mnuAnf: return m_controls.mnuAnf;
    case MenuItem::mnuFor: return m_controls.mnuFor;
    case MenuItem::mnuPro: return m_controls.mnuPro;
    }
    std::abort();
}

void QtToolkit::setCaption(Label which, const std::string &text)
{
    setValueText(label(which), QString::fromUtf8(text));
}

std::string QtToolkit::caption(Label which) const
{
    return label(which)->text().toStdString();
}

// Enabling a running timer keeps its rhythm, as switching a flag on that is
// on already should.
void QtToolkit::setTimerEnabled(Timer which, bool enabled)
{
    auto apply = [enabled](auto *t) {
        if (!enabled)
            t->stop();
        else if (!t->isActive())
            t->start();
    };
    switch (which) {
    case Timer::TimerB: return apply(m_controls.TimerB);
    case Timer::TimerZ: return apply(m_controls.TimerZ);
    }
    std::abort();
}

bool QtToolkit::isTimerEnabled(Timer which) const
{
    switch (which) {
    case Timer::TimerB: return m_controls.TimerB->isActive();
    case Timer::TimerZ: return m_controls.TimerZ->isActive();
    }
    std::abort();
}

void QtToolkit::setChecked(MenuItem which, bool checked)
{
    menuItem(which)->setChecked(checked);
}

bool QtToolkit::isChecked(MenuItem which) const
{
    return menuItem(which)->isChecked();
}

float QtToolkit::ballLeft() const { return m_controls.Ball->leftTwips(); }
void QtToolkit::setBallLeft(float twips) { m_controls.Ball->setLeftTwips(twips); }
float QtToolkit::ballTop() const { return m_controls.Ball->topTwips(); }
void QtToolkit::setBallTop(float twips) { m_controls.Ball->setTopTwips(twips); }
float QtToolkit::ballWidth() const { return m_controls.Ball->widthTwips(); }
float QtToolkit::ballHeight() const { return m_controls.Ball->heightTwips(); }
float QtToolkit::lineX1() const { return m_controls.Line1->x1(); }
void QtToolkit::setLineY2(float twips) { m_controls.Line1->setY2(twips); }

// The frame as the window system reports it; before the window is first
// shown that is the client area and the menu bar alone.
float QtToolkit::windowOuterWidth() const
{
    return twipsFromPixels(m_controls.window->frameGeometry().width());
}

float QtToolkit::windowOuterHeight() const
{
    return twipsFromPixels(m_controls.window->frameGeometry().height());
}

QWidget *QtToolkit::dialogParent() const
{
    return m_controls.window->isVisible() ? m_controls.window : nullptr;
}

void QtToolkit::messageBox(const std::string &text)
{
    installGermanQtTexts();
    QMessageBox box(QMessageBox::NoIcon, ProgramTitle, QString::fromUtf8(text), QMessageBox::Ok,
                    dialogParent());
    removeButtonPictures(&box);
    keepLinesWhole(box);
    // Ctrl+C copies the message, as the message boxes of other desktops do.
    auto *copy = new QShortcut(QKeySequence::Copy, &box);
    QObject::connect(copy, &QShortcut::activated, &box,
                     [&box] { QGuiApplication::clipboard()->setText(box.text()); });
    box.exec();
}

std::string QtToolkit::inputBox(const std::string &prompt, const std::string &title,
                                const std::string &defaultText)
{
    installGermanQtTexts();
    QInputDialog dialog(dialogParent());
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setWindowTitle(QString::fromUtf8(title));
    dialog.setLabelText(QString::fromUtf8(prompt));
    dialog.setTextValue(QString::fromUtf8(defaultText));
    dialog.setOkButtonText(QStringLiteral("OK"));
    dialog.setCancelButtonText(QStringLiteral("Abbrechen"));
    removeButtonPictures(&dialog);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.textValue().toStdString();
}

bool QtToolkit::retryBox(const std::string &text)
{
    installGermanQtTexts();
    QMessageBox box(QMessageBox::NoIcon, ProgramTitle, QString::fromUtf8(text), QMessageBox::NoButton,
                    dialogParent());
    QPushButton *retry = box.addButton(QStringLiteral("Wiederholen"), QMessageBox::AcceptRole);
    box.addButton(QStringLiteral("Aufgeben"), QMessageBox::RejectRole);
    box.setDefaultButton(retry);
    removeButtonPictures(&box);
    keepLinesWhole(box);
    box.exec();
    return box.clickedButton() == retry;
}

void QtToolkit::beep()
{
    if (!m_bell.ring())
        m_windowSystemBell.ring();
}

SettingsPlace QtToolkit::settingsPlace() const
{
    return m_settingsPlace;
}

// The window is made and loaded completely before it shows; a failing load
// leaves no window behind.
void QtToolkit::showHighScores()
{
    if (m_high) {
        if (m_high->isMinimized())
            m_high->showNormal();
        m_high->raise();
        m_high->activateWindow();
        return;
    }
    auto high = std::make_unique<High>(m_settingsPlace.directory);
    high->Form_Load();
    m_high = high.release();
    centreOnScreen(m_high);
    m_high->show();
}

// Once the program ends no tick may reach a handler, whatever the order.
void QtToolkit::stopTimers()
{
    m_controls.TimerZ->stop();
    m_controls.TimerB->stop();
}

void QtToolkit::quit()
{
    stopTimers();
    m_quit = true;
    QCoreApplication::exit(0);
}

void QtToolkit::report(const std::string &message)
{
    std::fprintf(stderr, "%s\n", message.c_str());
    messageBox(message);
}

void QtToolkit::fail(const std::exception &error)
{
    stopTimers();
    m_quit = true;
    const std::string message = failureMessage(error);
    if (message != error.what())
        std::fprintf(stderr, "%s\n", error.what()); // for the developer; the player reads German
    report(message);
    m_terminate();
}

