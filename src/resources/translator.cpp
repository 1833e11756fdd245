#include "translator.h"

#include "hiddenfile.h"

#include <QAction>
#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QVariant>

Translator::NotePaper::NotePaper(QObject* target, const QByteArray& property)
    : QObject(target)
    , target(target)
    , property(property)
{
}

Translator::Translator(const QString& path, QObject* parent)
    : QObject(parent)
{
    // A broken installation shows the keys; say where the table was looked for.
    if (!read(path))
        qWarning("Rimglow: cannot read the language table %s; texts show as their keys",
                 qPrintable(path));
    connect(&menu, &QMenu::triggered, this, &Translator::update);
    renewMenu();

    const QString code =
        HiddenFile::exists("language") ? HiddenFile::read("language") : systemLanguage();
    setLanguage(code);
}

bool Translator::read(const QString& path)
{
    QFile file(path);
    if (file.size() > maxFileSize || !file.open(QIODevice::ReadOnly))
        return false;
    const QString text = QString::fromUtf8(file.readAll());
    const QStringList lines = text.split('\n');
    bool header = true;
    for (QString line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.isEmpty())
            continue;
        // Every field is quoted and the fields are separated by ",", so dropping the outer
        // quotes leaves fields separated by the three characters quote, comma, quote.
        QStringList fields = line.mid(1, line.size() - 2).split("\",\"");
        const QString label = fields.takeFirst();
        if (header) {
            labelOfLabels = label;
            columnLabels = fields;
            header = false;
            continue;
        }
        // A short row stays short (its missing cells read as empty), so a damaged table costs
        // memory in proportion to its size, not to rows times columns.
        if (fields.size() > columnLabels.size())
            fields = fields.mid(0, columnLabels.size());
        if (!rowOfKey.contains(label))
            rowOfKey.insert(label, rowLabels.size());
        rowLabels.append(label);
        cells.append(fields);
    }
    return true;
}

QString Translator::systemLanguage() const
{
#if defined(Q_OS_MACOS)
    QProcess defaults;
    defaults.start("defaults", {"read", "-g", "AppleLocale"});
    defaults.waitForFinished(30000);
    QString code = QString::fromLocal8Bit(defaults.readAllStandardOutput()).simplified();
    if (code.size() > 5)
        code.truncate(5);
    else if (code.size() < 5)
        code.truncate(2);
    return code;
#else
    return QLocale::system().name();
#endif
}

void Translator::add(QObject* object, const char* property, const QString& key)
{
    if (!object)
        return;
    NotePaper* note = nullptr;
    for (auto it = notes.cbegin(); it != notes.cend(); ++it) {
        if (it.key()->getTarget() == object && it.key()->getProperty() == property) {
            note = it.key();
            break;
        }
    }
    if (!note) {
        note = new NotePaper(object, property);
        // A target destroyed without calling remove takes its notes along; forget them then.
        connect(note, &QObject::destroyed, this, [this, note] { notes.remove(note); });
    }
    notes.insert(note, key);
    apply(note, key);
}

void Translator::remove(QObject* object)
{
    for (NotePaper* note : notes.keys()) {
        if (note->getTarget() == object) {
            notes.remove(note);
            delete note;
        }
    }
}

QString Translator::getText(const QString& key) const
{
    const auto row = rowOfKey.constFind(key);
    if (row == rowOfKey.cend() || column >= columnLabels.size())
        return key;
    return cells[*row].value(column);
}

void Translator::setLanguage(const QString& code)
{
    HiddenFile::write("language", code);
    column = columnLabels.indexOf(code);
    if (column < 0)
        column = columnLabels.indexOf(code.left(2));
    if (column < 0)
        column = 0;
    const QList<QAction*> languages = menu.actions();
    if (column < languages.size())
        languages[column]->setChecked(true);
    // The language shown, not the one asked for: Qt's texts in French beside ours in English
    // would be a mix.
    qtTexts.setLanguage(columnLabels.value(column));
    for (auto it = notes.cbegin(); it != notes.cend(); ++it)
        apply(it.key(), it.value());
}

void Translator::renewMenu()
{
    menu.clear();
    const QStringList names = cells.isEmpty() ? QStringList() : cells.first();
    for (int i = 0; i < columnLabels.size(); ++i) {
        QAction* action = menu.addAction(names.value(i));
        action->setData(columnLabels[i]);
        action->setCheckable(true);
        choices.addAction(action);
    }
    add(&menu, "title", "LANGUAGE");
}

void Translator::update(QAction* action)
{
    setLanguage(action->data().toString());
}

void Translator::apply(NotePaper* note, const QString& key) const
{
    QObject* target = note->getTarget();
    if (target->metaObject()->indexOfProperty(note->getProperty()) >= 0)
        target->setProperty(note->getProperty(), QVariant(getText(key)));
}
