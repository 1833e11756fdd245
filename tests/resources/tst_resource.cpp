#include "resources/hiddenfile.h"
#include "resources/resource.h"
#include "testsuite.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QImageReader>
#include <QMenu>
#include <QPushButton>
#include <QTest>

class ResourceTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
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

    // Every key of the table has a text of its own in every language, which the registered
    // objects follow; the menu names each language in itself, and "RENEW" keeps its one
    // placeholder.
    void everyTextIsTranslated()
    {
        QPushButton button;
        QMenu menu;
        Resource::add(&button, "text", "OPEN");
        Resource::addText(&menu, "title", "FILE");
        QVERIFY(!button.icon().isNull());
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
        for (int i = 0; i < codes.size(); ++i) {
            Resource::getLanguageMenu()->actions()[i]->trigger();
            QCOMPARE(HiddenFile::read("language"), codes[i]);
            QCOMPARE(Resource::getText("RENEW").count('1'), 1);
            for (const QString& key : keys.mid(1)) {
                const QString text = Resource::getText(key);
                QVERIFY2(!text.trimmed().isEmpty(), qPrintable(codes[i] + " lacks " + key));
            }
            QCOMPARE(button.text(), Resource::getText("OPEN"));
            if (i < 2)
                QCOMPARE(menu.title(), Resource::getText("FILE"));
            if (i == 1)
                Resource::remove(&menu);
        }
        QCOMPARE(button.text(), QString::fromUtf8("\u958b\u555f"));
        QCOMPARE(menu.title(), QString("Datei"));
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
                int opaque = 0;
                for (int i = 0; i < 48 * 48; ++i)
                    opaque += qAlpha(table.pixel(k * 48 + i % 48, style * 48 + i / 48)) > 128;
                QVERIFY2(opaque > 40, qPrintable(keys[k] + " is almost empty"));
            }
        QCOMPARE(Resource::getIconStyleMenu()->count(), table.height() / 48);
        QCOMPARE(Resource::getPixmap("LOGO").size(), QSize(48, 48));
    }
};

RIMGLOW_TEST(ResourceTest)
#include "tst_resource.moc"
