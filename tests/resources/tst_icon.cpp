#include "fixtures.h"
#include "resources/icon.h"
#include "testsuite.h"

#include <QAction>
#include <QFile>
#include <QImageWriter>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

QColor cellColor(int key, int style)
{
    return QColor(40 + key * 60, 40 + style * 100, 200);
}

// A table whose every cell is filled with a colour of its own.
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

} // namespace

class IconTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

    QString writeTable(const QImage& image, const QString& editor, const QString& styles,
                       const QString& keys)
    {
        const QString path = dir.filePath("icon.png");
        QFile::remove(path);
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
        Icon icon(writeTable(tableImage(3, 2, 144, 96), "velmo", "light|dark", "a|b|c"));
        QCOMPARE(icon.getCellSize(), QSize(48, 48));
        QCOMPARE(icon.getStyles(), (QStringList{"light", "dark"}));
        QCOMPARE(icon.getMenu()->count(), 2);
        const QImage first = icon.getPixmap("c").toImage().convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(first, tableImage(3, 2, 144, 96).copy(96, 0, 48, 48));
        QVERIFY(isPlaceholder(icon, "zzz"));
        const QImage placeholder = icon.getPlaceholder().toImage();
        QCOMPARE(placeholder.size(), QSize(48, 48));
        QCOMPARE(placeholder.pixelColor(23, 22), QColor(Qt::red));
        QCOMPARE(placeholder.pixelColor(24, 12).alpha(), 0);

        QPushButton button;
        QAction action(nullptr);
        QObject plain;
        auto* gone = new QPushButton;
        icon.add(&button, "b");
        icon.add(&action, "a");
        icon.add(&plain, "a");
        icon.add(gone, "a");
        delete gone;
        const auto shade = [](const QIcon& i) {
            return i.pixmap(48, 48).toImage().pixelColor(5, 5);
        };
        QCOMPARE(shade(button.icon()), cellColor(1, 0));
        QCOMPARE(shade(button.windowIcon()), cellColor(1, 0));
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

    void brokenTables_data()
    {
        QTest::addColumn<QImage>("image");
        QTest::addColumn<QString>("editor");
        QTest::addColumn<QString>("styles");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<int>("keep"); // bytes of the file kept, -1 for all, -2 for no file
        const auto row = [](const char* tag, const QImage& image, const char* editor,
                            const char* styles, const char* keys, int keep) {
            QTest::newRow(tag) << image << editor << styles << keys << keep;
        };
        const QImage good = tableImage(3, 2, 144, 96);
        const QImage tiny = tableImage(1, 1, 2, 2);
        row("no editor", good, "", "light|dark", "a|b|c", -1);
        row("other editor", good, "someone", "light|dark", "a|b|c", -1);
        row("no styles", good, "velmo", "", "a|b|c", -1);
        row("no keys", good, "velmo", "light", "", -1);
        row("more keys than pixels", tiny, "velmo", "light", "a|b|c", -1);
        row("more styles than pixels", tiny, "velmo", "1|2|3|4", "a", -1);
        row("empty file", good, "velmo", "light|dark", "a|b|c", 0);
        row("truncated", good, "velmo", "light|dark", "a|b|c", 200);
        row("missing", good, "velmo", "light|dark", "a|b|c", -2);
    }
    void brokenTables()
    {
        QFETCH(QImage, image);
        QFETCH(QString, editor);
        QFETCH(QString, styles);
        QFETCH(QString, keys);
        QFETCH(int, keep);
        QFile file(writeTable(image, editor, styles, keys));
        if (keep >= 0)
            QVERIFY(file.resize(keep));
        else if (keep == -2)
            QVERIFY(file.remove());
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("no icon table in "));
        Icon icon(file.fileName());
        QVERIFY(isPlaceholder(icon, "a"));
        QCOMPARE(icon.getCellSize(), QSize(48, 48));
        QCOMPARE(icon.getMenu()->count(), 0);
        emit icon.getMenu()->activated(0);
    }

    void iconFixtures_data() { addFixtureRows("icons"); }

    // Any icon table gives icons of one cell's size, or the placeholder.
    void iconFixtures()
    {
        QFETCH(QString, path);
        QVERIFY(!path.isEmpty());
        Icon icon(path);
        for (const char* key : {"a", "b", "OPEN"})
            QVERIFY(isPlaceholder(icon, key) || icon.getPixmap(key).size() == icon.getCellSize());
    }
};

RIMGLOW_TEST(IconTest)
#include "tst_icon.moc"
