#pragma once

#include "storage/settings.h"

#include <QWidget>

#include <string>

class QLabel;

// The high-score window High: the best result of each level as Wahl.txt
// holds it when the window is loaded. It has no owner and closes by its
// frame alone; it deletes itself when closed.
class High : public QWidget
{
    Q_OBJECT

public:
    // directory: where Wahl.txt lies, with or without a trailing separator.
    explicit High(std::string directory);

    // Reads Wahl.txt and fills the score and name labels; the window's tip
    // names the file. Throws SettingsError when the file cannot be read.
    void Form_Load();

private:
    void createLabels();

    std::string m_directory;
    QLabel *PAn = nullptr;
    QLabel *NAn = nullptr;
    QLabel *PFo = nullptr;
    QLabel *NFo = nullptr;
    QLabel *PPr = nullptr;
    QLabel *NPr = nullptr;
};
