#include "ui/high.h"

#include "game/appdir.h"
#include "game/leveltable.h"
#include "ui/accessibility.h"
#include "ui/captionlabel.h"
#include "ui/fonts.h"
#include "ui/twips.h"

#include <QLabel>

#include <array>

namespace {

// A title names its level; a score or a name label is told by what a screen
// reader says before its value.
enum class Shows { Title, Score, Name };

struct LabelLayout
{
    const char *name;
    std::size_t level; // index into LevelTable
    Shows shows;
    int left, top, width, height;
};

// In the order of creation; the captions of scores and names come from the
// file.
constexpr std::array<LabelLayout, 9> Labels{{
    {"NPr", 2, Shows::Name, 2040, 1920, 1575, 255},
    {"NFo", 1, Shows::Name, 2040, 1200, 1575, 255},
    {"NAn", 0, Shows::Name, 2040, 480, 1575, 255},
    {"PPr", 2, Shows::Score, 120, 1920, 1575, 255},
    {"Label5", 2, Shows::Title, 120, 1560, 1575, 255},
    {"PFo", 1, Shows::Score, 120, 1200, 1575, 255},
    {"Label3", 1, Shows::Title, 120, 840, 1815, 255},
    {"PAn", 0, Shows::Score, 120, 480, 1575, 255},
    {"Label1", 0, Shows::Title, 120, 120, 1575, 255},
}};

const QSize ClientSize = rectFromTwips(0, 0, 3765, 2310).size();

QString valueMeaning(const LabelLayout &entry)
{
    return QString::fromUtf8(LevelTable[entry.level].name)
        + (entry.shows == Shows::Score ? QStringLiteral(", Doppelklicks") : QStringLiteral(", Name"));
}

} // namespace

High::High(std::string directory)
    : QWidget(nullptr)
    , m_directory(std::move(directory))
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
    QList<CaptionLabel *> titles;
    for (const LabelLayout &entry : Labels) {
        const bool title = entry.shows == Shows::Title;
        auto *label = new CaptionLabel(title ? QString::fromUtf8(LevelTable[entry.level].name) : QString(), this);
        // Titles narrow to fit; scores and names end in "…".
        label->setElided(!title);
        if (title)
            titles.append(label);
        label->setObjectName(QString::fromLatin1(entry.name));
        label->setGeometry(rectFromTwips(entry.left, entry.top, entry.width, entry.height));
        label->setFixedSize(label->size());
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setFont(title ? classicFont(9.75) : classicFont(8.25));
        label->setFocusPolicy(Qt::NoFocus);
        if (!title)
            setValueMeaning(label, valueMeaning(entry));
    }
    CaptionLabel::fit(titles, ClientSize.width() - titles.first()->x());
    PAn = findChild<QLabel *>(QStringLiteral("PAn"));
    NAn = findChild<QLabel *>(QStringLiteral("NAn"));
    PFo = findChild<QLabel *>(QStringLiteral("PFo"));
    NFo = findChild<QLabel *>(QStringLiteral("NFo"));
    PPr = findChild<QLabel *>(QStringLiteral("PPr"));
    NPr = findChild<QLabel *>(QStringLiteral("NPr"));
}

void High::Form_Load()
{
    // A file removed since the game started holds no records yet.
    const std::string path = settingsFilePath(withTrailingSeparator(m_directory));
    const SettingsRecord settings = ReadSettingsIfPresent(path).value_or(SettingsRecord{});
    // The labels leave no room to say where the records are: the tip over
    // the whole window does, and a screen reader reads it as the window's.
    const QString where = QStringLiteral("Die Rekorde stehen in der Datei „%1“.").arg(QString::fromUtf8(path));
    setToolTip(where);
    setAccessibleDescription(where);
    const auto &[anf, fort, pro] = settings.entries;
    setValueText(PAn, QString::fromUtf8(anf.score.displayText()));
    setValueText(PFo, QString::fromUtf8(fort.score.displayText()));
    setValueText(PPr, QString::fromUtf8(pro.score.displayText()));
    setValueText(NAn, QString::fromUtf8(anf.name.displayText()));
    setValueText(NFo, QString::fromUtf8(fort.name.displayText()));
    setValueText(NPr, QString::fromUtf8(pro.name.displayText()));
}
