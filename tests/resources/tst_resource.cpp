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

    // Every key of the table has a text of its own in every language, the menu names each
    // language in itself, and "RENEW" keeps its one placeholder.
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
        QFile table(Resource::directory() + "language.csv");
        QVERIFY(table.open(QIODevice::ReadOnly));
        QStringList keys;
        while (!table.atEnd())
            keys << QString::fromUtf8(table.readLine()).section(',', 0, 0).remove('"');
        QVERIFY(keys.size() > 60);
        for (const QString& code : codes) {
            chooseLanguage(code);
            QCOMPARE(HiddenFile::read("language"), code);
            QCOMPARE(Resource::getText("RENEW").count('1'), 1);
            for (const QString& key : keys.mid(1)) {
                const QString text = Resource::getText(key);
                QVERIFY2(!text.trimmed().isEmpty(), qPrintable(code + " lacks " + key));
            }
        }
        QCOMPARE(Resource::getText("OPEN"), QString::fromUtf8("\u958b\u555f"));
    }

    // Every icon of the table is drawn, in every style.
    void everyIconIsDrawn()
    {
        QImageReader reader(Resource::directory() + "icon.png");
        const QImage table = reader.read();
        QCOMPARE(table.text("editor"), QString("velmo"));
        const QStringList keys = table.text("iconkey").split('|');
        QVERIFY(keys.contains("LOGO") && keys.contains("TRANSMIT"));
        QCOMPARE(table.width(), keys.size() * 48);
        QVERIFY(table.height() >= 48 && table.height() % 48 == 0);
        for (int style = 0; style < table.height() / 48; ++style)
            for (int k = 0; k < keys.size(); ++k) {
                const QImage icon =
                    table.copy(k * 48, style * 48, 48, 48).convertToFormat(QImage::Format_Alpha8);
                int opaque = 0;
                for (int i = 0; i < 48 * 48; ++i)
                    opaque += icon.constBits()[(i / 48) * icon.bytesPerLine() + i % 48] > 128;
                QVERIFY2(opaque > 40, qPrintable(keys[k] + " is almost empty"));
            }
        QCOMPARE(Resource::getIconStyleMenu()->count(), table.height() / 48);
        QCOMPARE(Resource::getPixmap("LOGO").size(), QSize(48, 48));
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
