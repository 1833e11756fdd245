#include "qtcatalogue.h"

#include <QCoreApplication>
#include <QLibraryInfo>

void QtCatalogue::setLanguage(const QString& code)
{
    QCoreApplication::removeTranslator(&translator);
    for (const QString& folder : folders()) {
        if (translator.load("qtbase_" + code, folder)) {
            QCoreApplication::installTranslator(&translator);
            return;
        }
    }
}

QStringList QtCatalogue::folders()
{
    QStringList found;
#ifdef Q_OS_WIN
    // A Windows installation carries Qt's catalogues beside the programs.
    found << QCoreApplication::applicationDirPath() + "/translations";
#endif
    found << QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    return found;
}
