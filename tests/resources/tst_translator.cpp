#include "fixtures.h"
#include "residentmemory.h"
#include "resources/hiddenfile.h"
#include "resources/translator.h"
#include "testsuite.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

const QByteArray table = "\"KEY\",\"en\",\"de\"\n"
                         "\"NAME\",\"English\",\"Deutsch\"\n"
                         "\"OPEN\",\"Open\",\"\xc3\x96"
                         "ffnen\"\n"
                         "\"SAVE\",\"Save\",\"Speichern\"\n"
                         "\"SAVE\",\"Keep\",\"Behalten\"\n"
                         "\"LANGUAGE\",\"Language\",\"Sprache\"\n"
                         "\"QUOTE\",\"a \"quoted\", text\",\"b,c\"\n";

} // namespace

class TranslatorTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

    QString writeTable(const QByteArray& content)
    {
        const QString path = dir.filePath("language.csv");
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            qFatal("cannot write %s", qPrintable(path));
        file.write(content);
        return path;
    }

    void startIn(const QString& code) { QVERIFY(HiddenFile::write("language", code)); }

private slots:
    void init()
    {
        QDir(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation))
            .removeRecursively();
    }

    // Lookups, registrations, the language menu and the choice kept for the next start.
    void languageSwitchRetextsEveryRegistration()
    {
        startIn("en");
        const QString path = writeTable(table);
        auto translator = std::make_unique<Translator>(path);
        QCOMPARE(translator->getText("MISSING_KEY"), QString("MISSING_KEY"));
        QCOMPARE(translator->getText("QUOTE"), QString("a \"quoted\", text"));
        QPushButton button;
        QMenu menu;
        auto* gone = new QLabel;
        translator->add(&button, "text", "OPEN");
        translator->add(&menu, "title", "SAVE");
        translator->add(gone, "text", "NO_SUCH_KEY");
        // A push button has no title: nothing happens.
        translator->add(&button, "title", "SAVE");
        QCOMPARE(button.text(), QString("Open"));
        QCOMPARE(menu.title(), QString("Save"));
        QCOMPARE(gone->text(), QString("NO_SUCH_KEY"));
        delete gone;
        const QList<QAction*> entries = translator->getMenu()->actions();
        QCOMPARE(entries.size(), 2);
        QCOMPARE(entries[1]->text(), QString("Deutsch"));
        QCOMPARE(entries[1]->statusTip(), QString("de"));
        entries[1]->trigger();
        QCOMPARE(button.text(), QString::fromUtf8("\u00d6ffnen"));
        QCOMPARE(menu.title(), QString("Speichern"));
        QCOMPARE(translator->getText("QUOTE"), QString("b,c"));
        QCOMPARE(translator->getMenu()->title(), QString("Sprache"));
        QCOMPARE(HiddenFile::read("language"), QString("de"));
        // Registering the same property again replaces its key; a removed one stays put.
        translator->add(&button, "text", "SAVE");
        translator->setLanguage("en");
        QCOMPARE(button.text(), QString("Save"));
        translator->remove(&button);
        translator->setLanguage("de");
        QCOMPARE(button.text(), QString("Save"));
        QCOMPARE(menu.title(), QString("Speichern"));

        translator = std::make_unique<Translator>(path);
        QCOMPARE(translator->getColumn(), 1);
        QStringList checked;
        for (QAction* action : translator->getMenu()->actions())
            if (action->isChecked())
                checked << action->statusTip();
        QCOMPARE(checked, QStringList{"de"});
    }

    // The column of the language chosen last time, and tables of any shape.
    void tables_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("open");
        const QString offnen = QString::fromUtf8("\u00d6ffnen");
        QTest::newRow("exact") << table << "de" << offnen;
        QTest::newRow("country falls back to language") << table << "de_AT" << offnen;
        QTest::newRow("unknown language") << table << "fr"
                                          << "Open";
        QTest::newRow("case matters") << table << "DE"
                                      << "Open";
        QTest::newRow("missing") << QByteArray("missing") << "de"
                                 << "OPEN";
        QTest::newRow("empty") << QByteArray() << "de"
                               << "OPEN";
        QTest::newRow("short line")
            << QByteArray("\"KEY\",\"en\",\"de\"\n\"OPEN\",\"Open\"\n") << "de"
            << "";
        QTest::newRow("crlf, extra cells")
            << QByteArray("\"KEY\",\"en\",\"de\"\r\n\"OPEN\",\"Open\",\"Auf\",\"x\"\r\n") << "de"
            << "Auf";
        QTest::newRow("no quotes") << QByteArray("KEY,en,de\nOPEN,Open,Auf\n") << "de"
                                   << "OPEN";
        QByteArray binary;
        for (int i = 0; i < 4096; ++i)
            binary.append(char((i * 7919) % 256));
        QTest::newRow("binary") << binary << "de"
                                << "OPEN";
        QTest::newRow("too large")
            << QByteArray("\"KEY\",\"en\",\"de\"\n\"OPEN\",\"Open\",\"Auf\"\n")
                   .append(QByteArray(int(Translator::maxFileSize), ' '))
            << "de"
            << "OPEN";
    }
    void tables()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, code);
        startIn(code);
        const bool missing = content == "missing";
        if (missing || QTest::currentDataTag() == QLatin1String("too large"))
            QTest::ignoreMessage(QtWarningMsg,
                                 QRegularExpression("cannot read the language table"));
        Translator translator(missing ? dir.filePath("no-such-file.csv") : writeTable(content));
        QTEST(translator.getText("OPEN"), "open");
        QCOMPARE(translator.getText("UNKNOWN"), QString("UNKNOWN"));
        if (missing)
            QCOMPARE(translator.getMenu()->title(), QString("LANGUAGE"));
        QCOMPARE(translator.getMenu()->actions().size(), translator.getLanguages().size());
    }

    void tableFixtures_data() { addFixtureRows("language"); }

    // A table of any shape costs memory in proportion to its file, and every language reads.
    void tableFixtures()
    {
        QFETCH(QString, path);
        QVERIFY(!path.isEmpty());
        startIn("en");
        const long before = residentKilobytes();
        Translator translator(path);
        const long grown = residentKilobytes() - before;
        const long allowed = 8 * 1024 + 64 * QFileInfo(path).size() / 1024;
        if (before >= 0)
            QVERIFY2(grown < allowed, qPrintable(QString("grew by %1 kB").arg(grown)));
        QCOMPARE(translator.getMenu()->actions().size(), translator.getLanguages().size());
        for (const QString& code : translator.getLanguages().mid(0, 8) + QStringList{"xx"}) {
            translator.setLanguage(code);
            QVERIFY(!translator.getText("OPEN").isNull());
        }
    }
};

RIMGLOW_TEST(TranslatorTest)
#include "tst_translator.moc"
