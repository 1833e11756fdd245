#ifndef TRANSLATOR_H
#define TRANSLATOR_H

#include "qtcatalogue.h"

#include <QActionGroup>
#include <QHash>
#include <QMap>
#include <QMenu>
#include <QObject>
#include <QStringList>

class QAction;

// The language table and the registered text properties: every registered property shows the
// text of its key in the current language and follows every change of language, and so do
// Qt's own texts.
class Translator : public QObject {
    Q_OBJECT
public:
    // Records which property of which object shows a text. A child of the target, so it never
    // outlives it.
    class NotePaper : public QObject {
    public:
        NotePaper(QObject* target, const QByteArray& property);
        QObject* getTarget() const { return target; }
        const QByteArray& getProperty() const { return property; }

    private:
        QObject* target;
        QByteArray property;
    };

    explicit Translator(const QString& path, QObject* parent = nullptr);

    void add(QObject* object, const char* property, const QString& key);
    void remove(QObject* object);
    QString getText(const QString& key) const;
    void setLanguage(const QString& code);
    QMenu* getMenu() { return &menu; }
    void renewMenu();

    QStringList getLanguages() const { return columnLabels; }
    int getColumn() const { return column; }

    // A language table larger than this is not a language table.
    static const qint64 maxFileSize = 8 * 1024 * 1024;

private slots:
    void update(QAction* action);

private:
    bool read(const QString& path);
    QString systemLanguage() const;
    void apply(NotePaper* note, const QString& key) const;

    QString labelOfLabels;
    QStringList columnLabels;
    QStringList rowLabels;
    QList<QStringList> cells;
    QHash<QString, int> rowOfKey;
    int column = 0;

    QMap<NotePaper*, QString> notes;
    QMenu menu;
    // The languages, the current one checked.
    QActionGroup choices{nullptr};
    QtCatalogue qtTexts;
};

#endif
