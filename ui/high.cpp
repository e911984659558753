#include "ui/high.h"

#include "game/mainform.h"
#include "ui/accessibility.h"
#include "ui/fonts.h"
#include "ui/twips.h"

#include <QLabel>
#include <QPainter>
#include <QStyle>

#include <array>

namespace {

struct LabelLayout
{
    const char *name;
    const char *caption; // UTF-8
    int left, top, width, height;
    bool title;
    const char *meaning; // UTF-8; what a screen reader says before a value
};

// In the order of creation; the captions of scores and names come from the
// file.
constexpr std::array<LabelLayout, 9> Labels{{
    {"NPr", "", 2040, 1920, 1575, 255, false, "Profi, Name"},
    {"NFo", "", 2040, 1200, 1575, 255, false, "Fortgeschrittener, Name"},
    {"NAn", "", 2040, 480, 1575, 255, false, "Anfänger, Name"},
    {"PPr", "", 120, 1920, 1575, 255, false, "Profi, Doppelklicks"},
    {"Label5", "Profi", 120, 1560, 1575, 255, true, nullptr},
    {"PFo", "", 120, 1200, 1575, 255, false, "Fortgeschrittener, Doppelklicks"},
    {"Label3", "Fortgeschrittener", 120, 840, 1815, 255, true, nullptr},
    {"PAn", "", 120, 480, 1575, 255, false, "Anfänger, Doppelklicks"},
    {"Label1", "Anfänger", 120, 120, 1575, 255, true, nullptr},
}};

const QSize ClientSize = rectFromTwips(0, 0, 3765, 2310).size();

// A score or name wider than its label ends in "…" at the label's edge
// instead of being cut in the middle of a letter. The label keeps the whole
// text: it is what text() and screen readers give.
class ElidingLabel : public QLabel
{
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        const QRect room = contentsRect();
        const QString shown = fontMetrics().elidedText(text(), Qt::ElideRight, room.width());
        style()->drawItemText(&painter, room, static_cast<int>(alignment()), palette(),
                              isEnabled(), shown, foregroundRole());
    }
};

QString fromUtf8(const std::string &text)
{
    return QString::fromStdString(text);
}

} // namespace

High::High(std::string programDirectory)
    : QWidget(nullptr)
    , m_programDirectory(std::move(programDirectory))
{
    setObjectName(QStringLiteral("High"));
    setWindowTitle(QStringLiteral("Highscore"));
    setAttribute(Qt::WA_DeleteOnClose);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor(0, 0, 255));
    colours.setColor(QPalette::WindowText, QColor(255, 255, 255));
    setPalette(colours);
    setAutoFillBackground(true);
    createLabels();
    resize(ClientSize);
}

void High::createLabels()
{
    QList<QLabel *> titles;
    for (const LabelLayout &entry : Labels) {
        QLabel *label = entry.title ? new QLabel(QString::fromUtf8(entry.caption), this)
                                    : new ElidingLabel(this);
        label->setObjectName(QString::fromLatin1(entry.name));
        label->setGeometry(rectFromTwips(entry.left, entry.top, entry.width, entry.height));
        label->setFixedSize(label->size());
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setFont(entry.title ? classicFont(9.75) : classicFont(8.25));
        label->setFocusPolicy(Qt::NoFocus);
        if (entry.title)
            titles.append(label);
        else
            setValueMeaning(label, QString::fromUtf8(entry.meaning));
    }
    fitCaptions(titles, ClientSize.width() - titles.first()->x());
    PAn = findChild<QLabel *>(QStringLiteral("PAn"));
    NAn = findChild<QLabel *>(QStringLiteral("NAn"));
    PFo = findChild<QLabel *>(QStringLiteral("PFo"));
    NFo = findChild<QLabel *>(QStringLiteral("NFo"));
    PPr = findChild<QLabel *>(QStringLiteral("PPr"));
    NPr = findChild<QLabel *>(QStringLiteral("NPr"));
}

void High::Form_Load()
{
    m_directory = withTrailingSeparator(m_programDirectory);
    m_settings = ReadSettings(m_directory + SettingsFileName);
    const auto &[anf, fort, pro] = m_settings.entries;
    setValueText(PAn, fromUtf8(anf.score.displayText()));
    setValueText(PFo, fromUtf8(fort.score.displayText()));
    setValueText(PPr, fromUtf8(pro.score.displayText()));
    setValueText(NAn, fromUtf8(anf.name.displayText()));
    setValueText(NFo, fromUtf8(fort.name.displayText()));
    setValueText(NPr, fromUtf8(pro.name.displayText()));
}
