#ifndef QTCATALOGUE_H
#define QTCATALOGUE_H

#include <QString>
#include <QStringList>
#include <QTranslator>

// Qt's own texts (the file dialog, the standard buttons, the text fields' menu) in the
// program's language, from Qt's catalogue of that language. Qt's translator leaves the
// application with it.
class QtCatalogue {
public:
    // Swaps in the catalogue of a language code such as de or zh_TW; without one, Qt speaks
    // English.
    void setLanguage(const QString& code);

    // Where Qt's catalogues are looked for, first match wins.
    static QStringList folders();

private:
    QTranslator translator;
};

#endif
