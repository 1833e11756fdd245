#include "resource.h"

#include "icon.h"
#include "translator.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

QObject* Resource::handleObject = nullptr;
Translator* Resource::translator = nullptr;
Icon* Resource::icon = nullptr;
QString Resource::title;

QObject* Resource::handle()
{
    if (!handleObject) {
        handleObject = new QObject;
        translator = new Translator(directory() + "language.csv");
        icon = new Icon(directory() + "icon.png");
    }
    return handleObject;
}

void Resource::free()
{
    delete icon;
    icon = nullptr;
    delete translator;
    translator = nullptr;
    delete handleObject;
    handleObject = nullptr;
}

QString Resource::directory()
{
#if defined(Q_OS_MACOS)
    return QDir::currentPath() + "/contents/Resources/";
#elif defined(Q_OS_WIN)
    return "./";
#else
    // A built program keeps its resources beside it; an installed one under share/.
    const QString own = QCoreApplication::applicationDirPath() + "/";
    if (QFileInfo::exists(own + "language.csv"))
        return own;
    return QDir::cleanPath(own + "../share/rimglow") + "/";
#endif
}

void Resource::add(QObject* object, const char* property, const QString& key)
{
    addText(object, property, key);
    addIcon(object, key);
}

void Resource::addText(QObject* object, const char* property, const QString& key)
{
    handle();
    translator->add(object, property, key);
}

void Resource::addIcon(QObject* object, const QString& key)
{
    handle();
    icon->add(object, key);
}

void Resource::remove(QObject* object)
{
    handle();
    translator->remove(object);
    icon->remove(object);
}

QString Resource::getText(const QString& key)
{
    handle();
    return translator->getText(key);
}

QString Resource::getPlainText(const QString& key)
{
    return withoutMnemonic(getText(key));
}

QString Resource::withoutMnemonic(const QString& text)
{
    // Chinese and Japanese texts name the key in brackets after the text: "檔案(&F)".
    static const QRegularExpression bracketed(R"(\(&[^&]\))");
    const QString rest = QString(text).remove(bracketed);
    QString plain;
    for (qsizetype i = 0; i < rest.size(); ++i) {
        // "&&" stands for "&".
        if (rest[i] == '&' && i + 1 < rest.size())
            ++i;
        plain += rest[i];
    }
    return plain;
}

QIcon Resource::getIcon(const QString& key)
{
    handle();
    return icon->getIcon(key);
}

QPixmap Resource::getPixmap(const QString& key)
{
    handle();
    return icon->getPixmap(key);
}

QMenu* Resource::getLanguageMenu()
{
    handle();
    return translator->getMenu();
}

QComboBox* Resource::getIconStyleMenu()
{
    handle();
    return icon->getMenu();
}

QString Resource::getTitle()
{
    handle();
    return title;
}

void Resource::setTitle(const QString& newTitle)
{
    handle();
    title = newTitle;
}
