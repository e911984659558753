#pragma once

#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

// What a modal box showed before it was answered.
struct SeenDialog
{
    QString title;
    QString text;
    QString value; // the pre-filled text of an input box
    bool isMessageBox = false;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
};

// Answers every modal box that opens: a message box with OK, an input box
// with the given name typed into it and OK, or with Cancel. Records what
// each one showed.
class ModalAnswerer : public QObject
{
public:
    enum class Input { Ok, Cancel };

    explicit ModalAnswerer(QString name = {}, Input input = Input::Ok);

    QList<SeenDialog> seen;

private:
    void answer();

    QString m_name;
    Input m_input;
    QTimer m_poll;
};
