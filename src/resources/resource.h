#ifndef RESOURCE_H
#define RESOURCE_H

#include <QIcon>
#include <QPixmap>
#include <QString>

class QComboBox;
class QMenu;
class QObject;
class Icon;
class Translator;

// The one entry point to the texts and icons of the program, looked up by key in the language
// and icon tables of the resource directory. Created on first use.
class Resource {
public:
    static void add(QObject* object, const char* property, const QString& key);
    static void addText(QObject* object, const char* property, const QString& key);
    static void addIcon(QObject* object, const QString& key);
    static void remove(QObject* object);

    static QString getText(const QString& key);
    // The text without its mnemonic, for a text shown inside another one.
    static QString getPlainText(const QString& key);
    static QString withoutMnemonic(const QString& text);
    static QIcon getIcon(const QString& key);
    static QPixmap getPixmap(const QString& key);
    static QMenu* getLanguageMenu();
    static QComboBox* getIconStyleMenu();

    static QString getTitle();
    static void setTitle(const QString& title);

    // The folder that holds the language and icon tables, the splash picture, the fonts and
    // the example designs, with a trailing slash.
    static QString directory();

    static QObject* handle();
    static void free();

private:
    static QObject* handleObject;
    static Translator* translator;
    static Icon* icon;
    static QString title;
};

#endif
