#include "fixtures.h"
#include "residentmemory.h"
#include "resources/hiddenfile.h"
#include "resources/translator.h"
#include "testsuite.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

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
        const auto row = [](const char* tag, const QByteArray& content, const char* code,
                            const QString& open) { QTest::newRow(tag) << content << code << open; };
        const QString offnen = QString::fromUtf8("\u00d6ffnen");
        row("exact", table, "de", offnen);
        row("country falls back to language", table, "de_AT", offnen);
        row("unknown language", table, "fr", "Open");
        row("case matters", table, "DE", "Open");
        row("missing", "missing", "de", "OPEN");
        row("empty", "", "de", "OPEN");
        row("short line", "\"KEY\",\"en\",\"de\"\n\"OPEN\",\"Open\"\n", "de", "");
        row("crlf, extra cells", "\"KEY\",\"en\",\"de\"\r\n\"OPEN\",\"Open\",\"Auf\",\"x\"\r\n",
            "de", "Auf");
        row("no quotes", "KEY,en,de\nOPEN,Open,Auf\n", "de", "OPEN");
        QByteArray binary;
        for (int i = 0; i < 4096; ++i)
            binary.append(char((i * 7919) % 256));
        row("binary", binary, "de", "OPEN");
        row("too large",
            QByteArray("\"KEY\",\"en\",\"de\"\n\"OPEN\",\"Open\",\"Auf\"\n")
                .append(QByteArray(int(Translator::maxFileSize), ' ')),
            "de", "OPEN");
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

    void tableFixtures_data()
    {
        addFixtureRows("language");
        // A cell past the last language, as large as a table may be.
        QTest::newRow("one cell too many") << writeTable("\"KEY\",\"en\"\n\"OPEN\",\"Open\",\"" +
                                                         QByteArray(4 << 20, 'x') + "\"\n");
    }

    // A table of any shape costs memory by what it keeps (not rows times columns, nor the
    // cells it drops), and every language reads.
    void tableFixtures()
    {
        QFETCH(QString, path);
        QVERIFY(!path.isEmpty());
        startIn("en");
#if defined(__GLIBC__)
        // Large blocks go back to the system when freed, so what the table keeps shows.
        mallopt(M_MMAP_THRESHOLD, 256 * 1024);
#endif
        const long before = residentKilobytes();
        Translator translator(path);
        const long grown = residentKilobytes() - before;
        if (before >= 0)
            QVERIFY2(grown < 8 * 1024, qPrintable(QString("grew by %1 kB").arg(grown)));
        QCOMPARE(translator.getMenu()->actions().size(), translator.getLanguages().size());
        for (const QString& code : translator.getLanguages().mid(0, 8) + QStringList{"xx"}) {
            translator.setLanguage(code);
            QVERIFY(!translator.getText("OPEN").isNull());
        }
    }
};

RIMGLOW_TEST(TranslatorTest)
#include "tst_translator.moc"
