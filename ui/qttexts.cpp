#include "ui/qttexts.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

bool installGermanQtTexts()
{
    const QString name = QStringLiteral("qtbase_de");
    if (qApp->findChild<QTranslator *>(name, Qt::FindDirectChildrenOnly))
        return true;
    auto *translator = new QTranslator(qApp);
    translator->setObjectName(name);
    if (!translator->load(name, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}
