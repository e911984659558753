#include "support/modalanswerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

QStringList buttonTexts(const QWidget *dialog)
{
    QStringList texts;
    for (const QAbstractButton *button : dialog->findChild<QDialogButtonBox *>()->buttons())
        texts << button->text();
    return texts;
}

} // namespace

ModalAnswerer::ModalAnswerer(QString name, Input input)
    : m_name(std::move(name))
    , m_input(input)
{
    connect(&m_poll, &QTimer::timeout, this, &ModalAnswerer::answer);
    m_poll.start(10);
}

void ModalAnswerer::answer()
{
    QWidget *modal = QApplication::activeModalWidget();
    if (!modal || modal->property("answered").toBool())
        return;
    modal->setProperty("answered", true);
    if (auto *box = qobject_cast<QMessageBox *>(modal)) {
        seen.append({box->windowTitle(), box->text(), {}, true, box->icon(), buttonTexts(box)});
        box->button(QMessageBox::Ok)->click();
    } else if (auto *input = qobject_cast<QInputDialog *>(modal)) {
        seen.append({input->windowTitle(), input->labelText(), input->textValue(), false,
                     QMessageBox::NoIcon, buttonTexts(input)});
        auto *edit = input->findChild<QLineEdit *>();
        edit->clear();
        // keyClicks() knows only ASCII; a name may hold umlauts.
        for (QChar c : std::as_const(m_name))
            QTest::sendKeyEvent(QTest::Click, edit, Qt::Key(c.toUpper().unicode()), QString(c),
                                Qt::NoModifier);
        const auto button = m_input == Input::Ok ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel;
        input->findChild<QDialogButtonBox *>()->button(button)->click();
    }
}
