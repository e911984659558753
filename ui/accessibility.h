#pragma once

#include <QString>

class QLabel;
class QWidget;

// What a screen reader reads of the windows.
//
// A value label is named by what its number means and the number itself
// ("Doppelklicks: 3"), so that the reader says both; its caption stays the
// bare value that the game reads back.
void setValueMeaning(QLabel *label, const QString &meaning);
// Sets the caption of a value label, renames it to match and tells the
// screen reader.
void setValueText(QLabel *label, const QString &text);

void describeControl(QWidget *widget, const QString &name, const QString &description = {});

// The roles of our own kinds of control: the ball is a picture, Line1 a
// separator. Once per program; later calls do nothing.
void installAccessibleRoles();
