#include "model/wheelweb.h"
#include "product.h"
#include "testsuite.h"

#include <QtGui>
#include <QtTest>

// The desktop's thumbnailer draws the first picture of a design on the product's grid, at the
// size asked for; what is no design, or no command it knows, gives a failure and no file.
class ThumbnailTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

    int thumbnail(const QStringList& arguments)
    {
        QProcess process;
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(QCoreApplication::applicationDirPath() + "/rimglow-thumbnail", arguments);
        return process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit
                   ? process.exitCode()
                   : -1;
    }

    // A strip of square pictures of a side, each inked (+) or empty (-); "tall", a picture
    // higher than wide, which holds no square.
    QString design(const QString& name, const QString& squares, int side = 512)
    {
        const bool tall = squares == "tall";
        QImage strip(tall ? 500 : int(squares.size()) * side, tall ? 600 : side,
                     QImage::Format_ARGB32);
        strip.fill(tall ? Qt::black : Qt::transparent);
        QPainter painter(&strip);
        for (int i = 0; i < squares.size(); ++i)
            if (squares[i] == '+')
                painter.fillRect(i * side, 0, side, side, Qt::black);
        painter.end();
        const QString path = dir.filePath(name + ".DEMO");
        return strip.save(path, "png") ? path : QString();
    }

private slots:
    void initTestCase()
    {
#ifdef Q_OS_WIN
        QSKIP("the thumbnailer serves the file managers of freedesktop desktops; Windows has none");
#endif
    }

    void designs_data()
    {
        // The design file, the size asked for, the exit status, and whether the cells of the
        // first picture are lit (-1: not looked at).
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("size");
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("lit");
        const auto row = [](const QString& tag, const QString& path, const char* size, int status,
                            int lit = -1) {
            QTest::newRow(qPrintable(tag)) << path << size << status << lit;
        };
        row("first inked", design("first", "+--"), "128", 0, 1);
        row("only the second inked", design("second", "-+-"), "256", 0, 0);
        // Cells are taken where they lie on a 512 pixel picture, as the wheel gets them.
        row("one small square", design("small", "+", 64), "100", 0, 0);
        row("largest size", design("largest", "+"), "1024", 0, 1);
        row("taller than wide", design("tall", "tall"), "128", 3);
        row("missing", dir.filePath("missing.DEMO"), "128", 3);
        row("size zero", design("zero", "+"), "0", 2);
        row("size too large", design("large", "+"), "1025", 2);
        row("size no number", design("word", "+"), "large", 2);
        const QDir fixtures(RIMGLOW_FIXTURES "/designs");
        for (const QString folder : {"readable", "unreadable"})
            for (const QString& name : QDir(fixtures.filePath(folder)).entryList(QDir::Files))
                row(folder + '/' + name, fixtures.filePath(folder + '/' + name), "128",
                    folder == "readable" ? 0 : 3);
    }
    void designs()
    {
        QFETCH(QString, path);
        QFETCH(QString, size);
        QFETCH(int, status);
        QFETCH(int, lit);
        const QString output =
            dir.filePath(QString(QTest::currentDataTag()).replace('/', '-') + ".png");
        QCOMPARE(thumbnail(Product::demo() + QStringList{size, path, output}), status);
        QCOMPARE(QFile::exists(output), status == 0);
        if (status != 0)
            return;
        const QImage drawn(output);
        QCOMPARE(drawn.size(), QSize(size.toInt(), size.toInt()));
        // Every cell of the first picture is lit, or none is: the first cell's middle tells.
        const QPointF middle = WheelWeb(16, 8, 80, 16).getCenters().first() * size.toInt() / 512;
        if (lit >= 0)
            QCOMPARE(drawn.pixelColor(middle.toPoint()).red() > 128, bool(lit));
    }

    // Not the three operands it needs, or a product it does not know.
    void commandLines_data()
    {
        QTest::addColumn<QStringList>("arguments");
        const QStringList demo = Product::demo();
        const QStringList operands{"128", design("in", "+"), dir.filePath("out.png")};
        QTest::newRow("no output") << demo + operands.mid(0, 2);
        QTest::newRow("one too many") << demo + operands + QStringList{"x"};
        QTest::newRow("no product") << operands;
        QTest::newRow("bad product") << QStringList(demo).replaceInStrings("16x8", "16") + operands;
    }
    void commandLines()
    {
        QFETCH(QStringList, arguments);
        QCOMPARE(thumbnail(arguments), 2);
        QVERIFY(!QFile::exists(dir.filePath("out.png")));
    }
};

RIMGLOW_TEST(ThumbnailTest)
#include "tst_thumbnail.moc"
