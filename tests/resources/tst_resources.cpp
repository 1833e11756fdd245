#include "files.h"
#include "fixtures.h"
#include "residentmemory.h"
#include "resources/hiddenfile.h"
#include "resources/icon.h"
#include "resources/qtcatalogue.h"
#include "resources/resource.h"
#include "resources/translator.h"
#include "testsuite.h"

#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <memory>
#ifdef Q_OS_WIN
#include <windows.h>
#endif
#if defined(__GLIBC__)
#include <malloc.h>
#endif
#ifdef Q_OS_LINUX
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>
#endif

namespace {

QColor cellColor(int key, int style)
{
    return QColor(40 + key * 60, 40 + style * 100, 200);
}

// An icon table whose every cell is filled with a colour of its own.
QImage tableImage(int keys, int styles, int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    for (int k = 0; k < keys; ++k)
        for (int s = 0; s < styles; ++s)
            painter.fillRect(k * width / keys, s * height / styles, width / keys, height / styles,
                             cellColor(k, s));
    return image;
}

bool isPlaceholder(const Icon& icon, const QString& key)
{
    return icon.getPixmap(key).toImage() == icon.getPlaceholder().toImage();
}

const QByteArray languageTable = "\"KEY\",\"en\",\"de\"\n"
                                 "\"NAME\",\"English\",\"Deutsch\"\n"
                                 "\"OPEN\",\"Open\",\"\xc3\x96"
                                 "ffnen\"\n"
                                 "\"SAVE\",\"Save\",\"Speichern\"\n"
                                 "\"SAVE\",\"Keep\",\"Behalten\"\n"
                                 "\"LANGUAGE\",\"Language\",\"Sprache\"\n"
                                 "\"QUOTE\",\"a \"quoted\", text\",\"b,c\"\n";

#ifdef Q_OS_LINUX
// Sets or clears a folder's append-only flag: names can be added to it, but none replaced.
bool setAppendOnly(const QString& folder, bool on)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return false;
    int flags = 0;
    bool done = ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = on ? flags | FS_APPEND_FL : flags & ~FS_APPEND_FL;
    done = done && ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    ::close(fd);
    return done;
}
#endif

} // namespace

class HiddenFileTest : public QObject {
    Q_OBJECT
private slots:
    void writeAndRead()
    {
#ifdef Q_OS_WIN
        // The Windows build keeps its state files in the current folder.
        QTemporaryDir state;
        const QString programFolder = QDir::currentPath();
        QDir::setCurrent(state.path());
        const QString folder = QDir::currentPath();
#else
        const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
        QDir(folder).removeRecursively();
#endif
        QCOMPARE(HiddenFile::getFileName("language"), folder + "/.language");
        QCOMPARE(HiddenFile::getFileName("sub/hall"), folder + "/sub/.hall");
        const QString elsewhere = QDir::tempPath() + "/x";
        QCOMPARE(HiddenFile::getFileName(elsewhere + "/autoupdate"), elsewhere + "/.autoupdate");
        QVERIFY(HiddenFile::write("hall", "135"));
        QVERIFY(QFile::exists(folder + "/.hall"));
        QCOMPARE(HiddenFile::read("hall"), QString("135"));
        // Read up to the first zero byte.
        QVERIFY(HiddenFile::write("language", QString::fromLatin1("de\0garbage", 10)));
        QCOMPARE(HiddenFile::read("language"), QString("de"));
        // A damaged state file is not read into memory whole.
        QVERIFY(HiddenFile::write("language", QString(64 * 1024 + 1, 'x')));
        QVERIFY(HiddenFile::read("language").size() <= 64 * 1024);
#ifdef Q_OS_WIN
        // Hidden from Explorer as a leading dot hides it elsewhere, also when written again.
        const QString native = QDir::toNativeSeparators(folder + "/.language");
        QVERIFY(GetFileAttributesW(reinterpret_cast<LPCWSTR>(native.utf16())) &
                FILE_ATTRIBUTE_HIDDEN);
#endif

        // A folder that cannot be made, because a file stands in its place.
        QVERIFY(!HiddenFile::write(folder + "/.hall/hall", "1"));
        // A folder where the file should be is neither replaced nor read.
        QVERIFY(QDir(folder).mkdir(".taken"));
        QVERIFY(!HiddenFile::write("taken", "1"));
        QVERIFY(!HiddenFile::exists("taken"));
        QCOMPARE(HiddenFile::read("taken"), QString());
#ifdef Q_OS_WIN
        QDir::setCurrent(programFolder);
#else
        // A full disk, here a file size limit, first shows in the only and so last write.
        QVERIFY(!writesWithin(1, [] { return HiddenFile::write("angle", "135"); }));
        QVERIFY(!HiddenFile::exists("angle"));
#endif
    }

#ifdef Q_OS_LINUX
    // A state file whose new text is written but cannot take the old one's place keeps the
    // old text, and the write says it failed.
    void replacingRefused()
    {
        QTemporaryDir folder;
        const QString name = folder.filePath("hall");
        QVERIFY(HiddenFile::write(name, "1"));
        if (!setAppendOnly(folder.path(), true))
            QSKIP("the file system has no append-only folders, or this user may not set them");
        const bool replaced = HiddenFile::write(name, "2");
        QVERIFY(setAppendOnly(folder.path(), false));
        QVERIFY(!replaced);
        QCOMPARE(HiddenFile::read(name), QString("1"));
    }
#endif
};

class IconTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

    QString writeTable(const QString& name, const QImage& image, const QString& editor,
                       const QString& styles, const QString& keys)
    {
        const QString path = dir.filePath(name + ".png");
        QImageWriter writer(path, "png");
        if (!editor.isEmpty())
            writer.setText("editor", editor);
        writer.setText("icontype", styles);
        writer.setText("iconkey", keys);
        if (!writer.write(image))
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

private slots:
    // Cells cut by key and style, the placeholder for unknown keys, and registrations that
    // follow the style chosen in the menu.
    void cellsFollowTheStyle()
    {
        Icon icon(writeTable("good", tableImage(3, 2, 144, 96), "velmo", "light|dark", "a|b|c"));
        QCOMPARE(icon.getCellSize(), QSize(48, 48));
        const QImage first = icon.getPixmap("c").toImage().convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(first, tableImage(3, 2, 144, 96).copy(96, 0, 48, 48));
        QVERIFY(isPlaceholder(icon, "zzz"));

        QPushButton button;
        QAction action(nullptr);
        auto* gone = new QPushButton;
        icon.add(&button, "b");
        icon.add(&action, "a");
        icon.add(gone, "a");
        delete gone;
        const auto shade = [](const QIcon& i) {
            return i.pixmap(48, 48).toImage().pixelColor(5, 5);
        };
        QCOMPARE(shade(button.icon()), cellColor(1, 0));
        QCOMPARE(shade(action.icon()), cellColor(0, 0));
        emit icon.getMenu()->activated(1);
        QCOMPARE(icon.getPixmap("c").toImage().pixelColor(47, 47), cellColor(2, 1));
        QCOMPARE(shade(button.icon()), cellColor(1, 1));
        QCOMPARE(shade(action.icon()), cellColor(0, 1));
        // A second registration replaces the first; a removed object is left alone; a style
        // past the last changes nothing.
        icon.add(&button, "c");
        icon.remove(&action);
        emit icon.getMenu()->activated(0);
        emit icon.getMenu()->activated(2);
        QCOMPARE(shade(button.icon()), cellColor(2, 0));
        QCOMPARE(shade(action.icon()), cellColor(0, 1));
    }

    // Tables that cannot be used, among them every fixture: a warning, and placeholders.
    void brokenTables_data()
    {
        addFixtureRows("icons");
        const QImage good = tableImage(3, 2, 144, 96), tiny = tableImage(1, 1, 2, 2);
        // keep: the bytes of the file kept, -1 for all, -2 for no file at all.
        const auto row = [&](const char* tag, const QImage& image, const char* editor,
                             const char* styles, const char* keys, int keep) {
            QFile file(writeTable(tag, image, editor, styles, keys));
            if (keep >= 0 ? !file.resize(keep) : keep == -2 && !file.remove())
                qFatal("cannot cut %s", tag);
            QTest::newRow(tag) << file.fileName();
        };
        row("other editor", good, "someone", "light|dark", "a|b|c", -1);
        row("no styles", good, "velmo", "", "a|b|c", -1);
        row("no keys", good, "velmo", "light", "", -1);
        row("more styles than pixels", tiny, "velmo", "1|2|3|4", "a", -1);
        row("truncated", good, "velmo", "light|dark", "a|b|c", 200);
        row("missing", good, "velmo", "light|dark", "a|b|c", -2);
    }
    void brokenTables()
    {
        QFETCH(QString, path);
        QVERIFY(!path.isEmpty());
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("no icon table in "));
        Icon icon(path);
        QVERIFY(isPlaceholder(icon, "a"));
        QCOMPARE(icon.getMenu()->count(), 0);
        emit icon.getMenu()->activated(0);
    }
};

class TranslatorTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

    QString writeTable(const QByteArray& content)
    {
        QFile file(dir.filePath("language.csv"));
        if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
            qFatal("cannot write the language table");
        return file.fileName();
    }

    void startIn(const QString& code) { QVERIFY(HiddenFile::write("language", code)); }

private slots:
    void cleanupTestCase() { Resource::free(); }

    // Every key of the shipped table has a text of its own in every language, and "RENEW" keeps
    // its one placeholder; the menu names each language in itself.
    void everyTextIsTranslated()
    {
        const QList<QAction*> languages = Resource::getLanguageMenu()->actions();
        QStringList entries;
        for (QAction* entry : languages)
            entries << entry->data().toString() + " " + entry->text();
        QCOMPARE(entries, (QStringList{"en &English", "de &Deutsch",
                                       QString::fromUtf8("zh_TW \u7e41\u9ad4\u4e2d\u6587(&C)")}));
        QFile table(Resource::directory() + "language.csv");
        QVERIFY(table.open(QIODevice::ReadOnly));
        QStringList keys;
        while (!table.atEnd())
            keys << QString::fromUtf8(table.readLine()).section(',', 0, 0).remove('"');
        QVERIFY(keys.size() > 60);
        for (int i = 0; i < entries.size(); ++i) {
            languages[i]->trigger();
            QCOMPARE(Resource::getText("RENEW").count('1'), 1);
            for (const QString& key : keys.mid(1))
                QVERIFY2(!Resource::getText(key).trimmed().isEmpty(),
                         qPrintable(entries[i] + ": " + key));
        }
    }

    // A text shown inside another one drops its mnemonic, in either form.
    void plainTexts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("plain");
        const QString file = QString::fromUtf8("\u6a94\u6848");
        const QList<std::pair<QString, QString>> rows{
            {"Save &As", "Save As"}, {file + "(&F)", file}, {"Fish && &Chips", "Fish & Chips"},
            {"Draw", "Draw"},        {"Rock &", "Rock &"},  {"&F", "F"}};
        for (const auto& [text, plain] : rows)
            QTest::newRow(qPrintable(text)) << text << plain;
    }
    void plainTexts()
    {
        QFETCH(QString, text);
        QFETCH(QString, plain);
        QCOMPARE(Resource::withoutMnemonic(text), plain);
    }

    // Quoted cells, registrations, the language menu and the choice kept for the next start.
    void languageSwitchRetextsEveryRegistration()
    {
        startIn("en");
        const QString path = writeTable(languageTable);
        auto translator = std::make_unique<Translator>(path);
        QCOMPARE(translator->getText("QUOTE"), QString("a \"quoted\", text"));
        QPushButton button;
        auto* gone = new QLabel;
        translator->add(&button, "text", "OPEN");
        translator->add(gone, "text", "NO_SUCH_KEY");
        // A second key for a property replaces the first, and of two rows of one key the first
        // counts; a push button has no title, so that one changes nothing.
        translator->add(&button, "text", "SAVE");
        translator->add(&button, "title", "OPEN");
        QCOMPARE(gone->text(), QString("NO_SUCH_KEY"));
        delete gone;
        QLabel removed;
        translator->add(&removed, "text", "OPEN");
        translator->remove(&removed);
        translator->getMenu()->actions()[1]->trigger();
        QCOMPARE(button.text(), QString("Speichern"));
        QCOMPARE(removed.text(), QString("Open"));
        QCOMPARE(translator->getText("QUOTE"), QString("b,c"));
        QCOMPARE(translator->getMenu()->title(), QString("Sprache"));
        translator = std::make_unique<Translator>(path);
        QVERIFY(translator->getMenu()->actions()[1]->isChecked());
    }

    // Qt's own texts follow the language shown: its catalogue is swapped at every change, and
    // leaves with the table.
    void qtTextsFollowTheLanguage()
    {
        const QStringList folders = QtCatalogue::folders();
        if (std::none_of(folders.begin(), folders.end(), [](const QString& folder) {
                return QFileInfo(folder + "/qtbase_de.qm").size() > 0;
            }))
            QSKIP("Qt's German catalogue qtbase_de.qm is not installed (Debian: "
                  "qt6-translations-l10n; scripts/install installs it)");
        // One table, one catalogue, as in the program.
        Resource::free();
        const QString path = writeTable("\"KEY\",\"en\",\"de\",\"zh_TW\"\n"
                                        "\"NAME\",\"English\",\"Deutsch\",\"Chinese\"\n");
        QDialogButtonBox shown(QDialogButtonBox::Cancel);
        const auto cancel = [&shown] {
            QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
            const QString made =
                QDialogButtonBox(QDialogButtonBox::Cancel).button(QDialogButtonBox::Cancel)->text();
            const QString now = shown.button(QDialogButtonBox::Cancel)->text();
            return made == now ? now : made + " made, " + now + " shown";
        };
        startIn("de");
        auto translator = std::make_unique<Translator>(path);
        QCOMPARE(cancel(), QString("Abbrechen"));
        const QList<std::pair<QString, QString>> steps{{"zh_TW", QString::fromUtf8("\u53d6\u6d88")},
                                                       {"fr", "Cancel"},
                                                       {"de_AT", "Abbrechen"},
                                                       {"en", "Cancel"},
                                                       {"de", "Abbrechen"}};
        for (const auto& [code, text] : steps) {
            translator->setLanguage(code);
            QCOMPARE(cancel(), text);
        }
        translator.reset();
        QCOMPARE(cancel(), QString("Cancel"));
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
        row("exact", languageTable, "de", offnen);
        row("country falls back to language", languageTable, "de_AT", offnen);
        row("unknown language", languageTable, "fr", "Open");
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
    }

    void tableFixtures_data()
    {
        addFixtureRows("language");
        // A cell past the last language, of 2 MB: kept, it would take 4 MB as text.
        QTest::newRow("one cell too many") << writeTable("\"KEY\",\"en\"\n\"OPEN\",\"Open\",\"" +
                                                         QByteArray(2 << 20, 'x') + "\"\n");
    }

    // A table of any shape costs memory by what it keeps (not rows times columns, nor the
    // cells it drops), and has a menu entry for every language.
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
            QVERIFY2(grown < 3 * 1024, qPrintable(QString("grew by %1 kB").arg(grown)));
        QCOMPARE(translator.getMenu()->actions().size(), translator.getLanguages().size());
    }
};

RIMGLOW_TEST(HiddenFileTest)
RIMGLOW_TEST(IconTest)
RIMGLOW_TEST(TranslatorTest)
#include "tst_resources.moc"
