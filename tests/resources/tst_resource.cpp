#include "resources/hiddenfile.h"
#include "resources/resource.h"
#include "testsuite.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QMenu>
#include <QPushButton>
#include <QSet>
#include <QStandardPaths>
#include <QTest>

namespace {

// Every text key the program looks up.
const QStringList textKeys{
    "ABORT",      "ABOUT",       "ARRAY",      "AUTO_DETECT", "CANCEL",
    "CHANGE",     "CHECK_LIGHT", "CHECK_USB",  "CONNECTION",  "COPY",
    "DITHER",     "DITHER_TIP",  "DRAW",       "EDIT",        "ENTER_TEXT",
    "EXIT",       "FILE",        "FILL",       "HELP",        "IGNOREALL",
    "IMPORT",     "INVERT",      "INVERT_TIP", "LANGUAGE",    "LEFT_OUT",
    "MOVETO",     "NEW",         "NO",         "NONE",        "NOT_A_PICTURE",
    "OK",         "OPEN",        "PASTE",      "PRESETS",     "READ_FAIL",
    "REDO",       "RENEW",       "RETRY",      "SAVE",        "SAVE_AS",
    "SAVE_FAIL",  "SELECT",      "SELECTALL",  "SIMULATION",  "STAND",
    "TEXT",       "THRESHOLD",   "TITLE",      "TOOL",        "TRANS_FAIL",
    "UNDO",       "UNSELECT",    "UNTITLED",   "UPDATE",      "UPDATE_VERSION",
    "USB_ACCESS", "VERSION",     "YES",        "ZOOM IN",     "ZOOM OUT"};

// Every icon key the program looks up.
const QStringList iconKeys{"ABOUT", "ADD",     "ARRAY",     "AUTO_DETECT", "COPY",    "DONGLE",
                           "DOWN",  "EXIT",    "FILL",      "IGNOREALL",   "IMPORT",  "LOGO",
                           "NEW",   "NO",      "OPEN",      "PASTE",       "PRESETS", "REDO",
                           "SAVE",  "SAVE_AS", "SELECTALL", "SIMULATION",  "TEXT",    "TRANSMIT",
                           "UNDO",  "UP",      "USB",       "YES",         "ZOOM IN", "ZOOM OUT"};

void chooseLanguage(const QString& code)
{
    for (QAction* entry : Resource::getLanguageMenu()->actions())
        if (entry->statusTip() == code)
            entry->trigger();
}

} // namespace

class ResourceTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        QDir(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation))
            .removeRecursively();
        HiddenFile::write("language", "en");
        Resource::free();
    }

    void cleanupTestCase() { Resource::free(); }

    // The program's folder holds the resources, the splash 800 wide and BDF fonts.
    void resourcesAreBesideTheProgram()
    {
        QCOMPARE(Resource::directory(), QCoreApplication::applicationDirPath() + "/");
        for (const char* name : {"language.csv", "icon.png", "font", "File"})
            QVERIFY2(QFileInfo::exists(Resource::directory() + name), name);
        QCOMPARE(QImageReader(Resource::directory() + "splash.png").size().width(), 800);
        const QDir fonts(Resource::directory() + "font");
        const QStringList files = fonts.entryList({"*.bdf"}, QDir::Files);
        QVERIFY(files.size() >= 5);
        for (const QString& name : files) {
            QFile file(fonts.filePath(name));
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QByteArray content = file.readAll();
            QVERIFY2(content.startsWith("STARTFONT") && content.contains("\nENCODING 65\n"),
                     qPrintable(name));
        }
    }

    // Every key reads as a text of its own in every language (a missing one reads as itself),
    // the menu names each language in itself, and "RENEW" keeps its one placeholder.
    void everyTextIsTranslated()
    {
        QStringList names, codes;
        for (QAction* entry : Resource::getLanguageMenu()->actions()) {
            names << entry->text();
            codes << entry->statusTip();
        }
        QCOMPARE(codes, (QStringList{"en", "de", "zh_TW"}));
        QCOMPARE(names, (QStringList{"English", "Deutsch",
                                     QString::fromUtf8("\u7e41\u9ad4\u4e2d\u6587")}));
        QSet<QString> found;
        for (const QString& code : codes) {
            chooseLanguage(code);
            QCOMPARE(HiddenFile::read("language"), code);
            QCOMPARE(Resource::getText("RENEW").count('1'), 1);
            for (const QString& key : textKeys) {
                const QString text = Resource::getText(key);
                QVERIFY2(!text.trimmed().isEmpty(), qPrintable(code + " lacks " + key));
                if (text != key)
                    found << key;
            }
        }
        QCOMPARE(found.size(), textKeys.size());
        QCOMPARE(Resource::getText("OPEN"), QString::fromUtf8("\u958b\u555f"));
    }

    void everyIconIsDrawn()
    {
        QImageReader reader(Resource::directory() + "icon.png");
        const QImage table = reader.read();
        QCOMPARE(table.text("editor"), QString("velmo"));
        const QStringList keys = table.text("iconkey").split('|');
        QCOMPARE(table.width(), keys.size() * 48);
        QVERIFY(table.height() >= 48 && table.height() % 48 == 0);
        QCOMPARE(Resource::getIconStyleMenu()->count(), table.height() / 48);
        for (const QString& key : iconKeys) {
            QVERIFY2(keys.contains(key), qPrintable(key));
            const QImage icon = Resource::getPixmap(key).toImage();
            QCOMPARE(icon.size(), QSize(48, 48));
            int opaque = 0;
            for (int y = 0; y < 48; ++y)
                for (int x = 0; x < 48; ++x)
                    opaque += qAlpha(icon.pixel(x, y)) > 128;
            QVERIFY2(opaque > 40, qPrintable(key + " is almost empty"));
        }
    }

    void registrationsFollowTheLanguage()
    {
        QPushButton button;
        QMenu menu;
        Resource::add(&button, "text", "OPEN");
        Resource::addText(&menu, "title", "FILE");
        QCOMPARE(button.text(), QString("Open"));
        QVERIFY(!button.icon().isNull());
        chooseLanguage("de");
        QCOMPARE(button.text(), QString::fromUtf8("\u00d6ffnen"));
        QCOMPARE(menu.title(), QString("Datei"));
        QCOMPARE(Resource::getLanguageMenu()->title(), QString("Sprache"));
        Resource::remove(&button);
        Resource::remove(&menu);
        chooseLanguage("en");
        QCOMPARE(button.text(), QString::fromUtf8("\u00d6ffnen"));
        QCOMPARE(menu.title(), QString("Datei"));
    }
};

RIMGLOW_TEST(ResourceTest)
#include "tst_resource.moc"
