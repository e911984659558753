#include "ui/hopsala.h"

#include "game/leveltable.h"
#include "game/mainform.h"
#include "platform/canberrabell.h"
#include "platform/desktopwatch.h"
#include "platform/settingsplace.h"
#include "platform/systemclock.h"
#include "ui/accessibility.h"
#include "ui/ballimage.h"
#include "ui/captionlabel.h"
#include "ui/centre.h"
#include "ui/fonts.h"
#include "ui/lineshape.h"
#include "ui/twips.h"

#include <QCloseEvent>
#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>
#include <QWindow>

namespace {

const QSize ClientSize = rectFromTwips(0, 0, 4680, 3090).size();
constexpr float Line1X = 1320;
// Captions stop short of Line1, the left wall of the play field.
constexpr int CaptionGap = 2;

QTimer *makeTimer(QObject *parent, const char *name)
{
    auto *timer = new QTimer(parent);
    timer->setObjectName(QString::fromLatin1(name));
    timer->setInterval(Hopsala::TickMilliseconds);
    timer->setTimerType(Qt::PreciseTimer);
    return timer;
}

// A caption when caption is given, else a value label in the classic font.
template<typename Label = QLabel>
Label *makeLabel(QWidget *client, const char *name, const QString &caption, QRect twips)
{
    auto *label = new Label(caption, client);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(rectFromTwips(twips.x(), twips.y(), twips.width(), twips.height()));
    label->setFixedSize(label->size());
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    if (caption.isEmpty())
        label->setFont(classicFont(9.75));
    return label;
}

// QApplication::beep: the window system's own bell, which always sounds
// as far as the program can tell.
class WindowSystemBell : public Bell
{
public:
    bool ring() override
    {
        QApplication::beep();
        return true;
    }
};

} // namespace

Hopsala::Hopsala(HopsalaPorts ports)
    : m_ticks(ports.ticks ? std::move(ports.ticks) : std::make_unique<SteadyClock>())
    , m_clock(ports.clock ? std::move(ports.clock) : std::make_unique<SystemClock>())
    , m_bell(ports.bell ? std::move(ports.bell) : std::make_unique<CanberraBell>())
    , m_windowSystemBell(ports.windowSystemBell ? std::move(ports.windowSystemBell)
                                                : std::make_unique<WindowSystemBell>())
{
    setObjectName(QStringLiteral("Hopsala"));
    setWindowTitle(QStringLiteral("Hopsala"));
    auto *client = new QWidget(this);
    QPalette colours = client->palette();
    colours.setColor(QPalette::Window, QColor(0, 255, 255));
    client->setPalette(colours);
    client->setAutoFillBackground(true);
    setCentralWidget(client);
    m_controls.window = this;
    createControls(client);
    createMenu();
    describeControls();

    SettingsPlace place = ports.settingsPlace.directory.empty() ? installedSettingsPlace() : ports.settingsPlace;
    m_toolkit = std::make_unique<QtToolkit>(m_controls, std::move(place), *m_bell, *m_windowSystemBell,
                                            std::move(ports.terminate));
    m_form = std::make_unique<MainForm>(*m_toolkit, *m_clock);
    connectEvents();

    const int menuHeight = menuBar()->isNativeMenuBar() ? 0 : menuBar()->sizeHint().height();
    resize(ClientSize.width(), ClientSize.height() + menuHeight);
}

Hopsala::~Hopsala() = default;

void Hopsala::createControls(QWidget *client)
{
    m_controls.TimerB =
        new SteadyTimer(std::chrono::milliseconds(TickMilliseconds), *m_ticks, this);
    m_controls.TimerB->setObjectName(QStringLiteral("TimerB"));
    m_cmdLos = new QPushButton(QStringLiteral("Los"), client);
    m_cmdLos->setObjectName(QStringLiteral("cmdLos"));
    m_cmdLos->setGeometry(rectFromTwips(120, 600, 735, 375));
    // Enter presses it even outside a dialog; it keeps the focus throughout.
    m_cmdLos->setDefault(true);
    m_cmdLos->setAutoDefault(true);
    m_cmdLos->setFocusPolicy(Qt::StrongFocus);
    m_controls.TimerZ = makeTimer(this, "TimerZ");
    auto *label3 = makeLabel<CaptionLabel>(client, "Label3", QStringLiteral("Normale Klicks"),
                                           {120, 1920, 1095, 255});
    auto *label2 = makeLabel<CaptionLabel>(client, "Label2", QStringLiteral("Doppelklicks"),
                                           {120, 1080, 855, 255});
    CaptionLabel::fit({label2, label3}, pixelsFromTwips(Line1X) - CaptionGap);
    m_controls.lblPunkte2 = makeLabel(client, "lblPunkte2", {}, {120, 2280, 615, 375});
    m_controls.lblPunkte = makeLabel(client, "lblPunkte", {}, {120, 1440, 615, 375});
    m_controls.Ball = new BallImage(m_doubleClick, client);
    m_controls.Ball->setObjectName(QStringLiteral("Ball"));
    m_controls.Ball->setLeftTwips(2280);
    m_controls.Ball->setTopTwips(1200);
    m_controls.Line1 = new LineShape(Line1X, 0, Line1X, 3120, client);
    m_controls.Line1->setObjectName(QStringLiteral("Line1"));
    m_controls.Line1->stackUnder(m_controls.Ball);
    m_controls.lblZeit = makeLabel(client, "lblZeit", {}, {120, 120, 615, 375});
    m_cmdLos->setFocus();
}

void Hopsala::createMenu()
{
    QMenu *mnuDatei = menuBar()->addMenu(QStringLiteral("Datei"));
    mnuDatei->setObjectName(QStringLiteral("mnuDatei"));
    auto addItem = [mnuDatei](const char *name, const QString &caption) {
        QAction *item = mnuDatei->addAction(caption);
        item->setObjectName(QString::fromLatin1(name));
        return item;
    };
    m_controls.mnuAnf = addItem("mnuAnf", QString::fromUtf8(LevelTable[0].name));
    m_controls.mnuFor = addItem("mnuFor", QString::fromUtf8(LevelTable[1].name));
    m_controls.mnuPro = addItem("mnuPro", QString::fromUtf8(LevelTable[2].name));
    for (QAction *level : {m_controls.mnuAnf, m_controls.mnuFor, m_controls.mnuPro})
        level->setCheckable(true);
    m_controls.mnuAnf->setChecked(true);
    m_mnuHigh = addItem("mnuHigh", QStringLiteral("&Highscore"));
    mnuDatei->addSeparator()->setObjectName(QStringLiteral("Strich1"));
    m_mnuEnd = addItem("mnuEnd", QStringLiteral("&Beenden"));
}

// German names for screen readers; the value labels add their numbers.
void Hopsala::describeControls()
{
    installAccessibleRoles();
    describeControl(m_cmdLos, QStringLiteral("Los"),
                    QStringLiteral("Startet ein Spiel von 30 Sekunden"));
    describeControl(m_controls.Ball, QStringLiteral("Ball"),
                    QStringLiteral("Doppelklicken, solange ein Spiel läuft"));
    describeControl(m_controls.Line1, QStringLiteral("Spielfeldrand"));
    describeControl(findChild<QMenu *>(QStringLiteral("mnuDatei")), QStringLiteral("Datei"));
    setValueMeaning(m_controls.lblZeit, QStringLiteral("Verbleibende Sekunden"));
    setValueMeaning(m_controls.lblPunkte, QStringLiteral("Doppelklicks"));
    setValueMeaning(m_controls.lblPunkte2, QStringLiteral("Normale Klicks"));
}

void Hopsala::connectEvents()
{
    connect(m_cmdLos, &QPushButton::clicked, this, [this] {
        m_controls.Ball->forgetPresses();
        if (m_desktopWatch)
            m_desktopWatch->refresh();
        runHandler(&MainForm::cmdLos_Click);
    });
    connect(m_controls.Ball, &BallImage::clicked, this,
            [this] { runHandler(&MainForm::Ball_Click); });
    connect(m_controls.Ball, &BallImage::doubleClicked, this,
            [this] { runHandler(&MainForm::Ball_DblClick); });
    connectTimer(m_controls.TimerB, &MainForm::TimerB_Timer);
    connectTimer(m_controls.TimerZ, &MainForm::TimerZ_Timer);
    connectLevel(m_controls.mnuAnf, &MainForm::mnuAnf_Click);
    connectLevel(m_controls.mnuFor, &MainForm::mnuFor_Click);
    connectLevel(m_controls.mnuPro, &MainForm::mnuPro_Click);
    connect(m_mnuHigh, &QAction::triggered, this, [this] { runHandler(&MainForm::mnuHigh_Click); });
    connect(m_mnuEnd, &QAction::triggered, this, [this] { runHandler(&MainForm::mnuEnd_Click); });
}

// A tick that was already queued when its timer was switched off is dropped.
template <class Timer>
void Hopsala::connectTimer(Timer *timer, void (MainForm::*handler)())
{
    connect(timer, &Timer::timeout, this, [this, timer, handler] {
        if (timer->isActive())
            runHandler(handler);
    });
}

// Qt flips the mark of a checkable entry when it is chosen; the marks are
// the game's alone, so the flip is undone before the handler sets them.
void Hopsala::connectLevel(QAction *item, void (MainForm::*handler)())
{
    connect(item, &QAction::triggered, this, [this, item, handler](bool checked) {
        item->setChecked(!checked);
        runHandler(handler);
    });
}

void Hopsala::runHandler(void (MainForm::*handler)())
{
    if (m_toolkit->hasQuit())
        return;
    try {
        (m_form.get()->*handler)();
    } catch (const std::exception &error) {
        m_toolkit->fail(error);
    }
}

void Hopsala::load()
{
    m_form->Form_Load();
}

void Hopsala::showCentred()
{
    centreOnScreen(this);
    // The native window exists before it shows, so that its first expose is
    // seen whenever it comes.
    winId();
    windowHandle()->installEventFilter(this);
    show();
}

// The desktop's double-click settings are no part of the first frame: they
// are asked of the X server or the session bus. They follow the frame, as
// what the application takes on then does, before any input can press the
// ball.
void Hopsala::afterFirstFrame()
{
    emit firstFrameShown();
    m_desktopWatch = new DesktopWatch(m_doubleClick, this);
}

// Qt paints the first frame while it handles the first expose event.
bool Hopsala::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == windowHandle() && event->type() == QEvent::Expose) {
        watched->removeEventFilter(this);
        QMetaObject::invokeMethod(this, &Hopsala::afterFirstFrame, Qt::QueuedConnection);
    }
    return QMainWindow::eventFilter(watched, event);
}

void Hopsala::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    runHandler(&MainForm::Form_Resize);
}

// Where the window system draws no frame of its own (Qt's decorations on
// Wayland), the outer size takes the decorations in only once show() has
// made them, after the first resize event: Form_Resize runs again then.
void Hopsala::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    QTimer::singleShot(0, this, [this] { runHandler(&MainForm::Form_Resize); });
}

// Closing is not intercepted; the game stops with the window, and an open
// high-score window stays.
void Hopsala::closeEvent(QCloseEvent *event)
{
    m_form->stopBothTimers();
    event->accept();
}
