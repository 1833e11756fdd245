#include "fixtures.h"
#include "model/wheelweb.h"
#include "product.h"
#include "testsuite.h"

#include <QtGui>
#include <QtTest>

namespace {

// Makes the file a recipe names: a strip of square pictures, each inked (+) or empty (-),
// 512 pixels high unless a height follows; "half of" one, cut in the middle; "tall", a
// picture higher than wide, which holds no square; "text", no picture at all; "missing",
// nothing.
void makeDesign(const QString& path, const QString& recipe)
{
    if (recipe == "missing")
        return;
    if (recipe.startsWith("half of ")) {
        makeDesign(path, recipe.mid(8));
        QFile file(path);
        if (!file.resize(file.size() / 2))
            qFatal("cannot cut %s", qPrintable(path));
        return;
    }
    QFile file(path);
    if (recipe == "text") {
        if (!file.open(QIODevice::WriteOnly) || file.write("just text") < 0)
            qFatal("cannot write %s", qPrintable(path));
        return;
    }
    const QString squares = recipe.section(' ', 0, 0);
    const int side = recipe.section(' ', 1).isEmpty() ? 512 : recipe.section(' ', 1).toInt();
    QImage strip = recipe == "tall"
                       ? QImage(500, 600, QImage::Format_ARGB32)
                       : QImage(int(squares.size()) * side, side, QImage::Format_ARGB32);
    strip.fill(recipe == "tall" ? Qt::black : Qt::transparent);
    QPainter painter(&strip);
    for (int i = 0; i < squares.size(); ++i)
        if (squares[i] == '+')
            painter.fillRect(i * side, 0, side, side, Qt::black);
    painter.end();
    if (!strip.save(path, "png"))
        qFatal("cannot write %s", qPrintable(path));
}

} // namespace

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

private slots:
    void designs_data()
    {
        // The design: a recipe for makeDesign or a fixture's path; the size asked for; the
        // exit status; whether the cells of the first picture are lit.
        QTest::addColumn<QString>("design");
        QTest::addColumn<QString>("size");
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("lit");
        const auto row = [](const QString& tag, const QString& design, const char* size, int status,
                            bool lit = false) {
            QTest::newRow(qPrintable(tag)) << design << size << status << lit;
        };
        row("first inked", "+--", "128", 0, true);
        row("only the second inked", "-+-", "256", 0, false);
        // Cells are taken where they lie on a 512 pixel picture, as the wheel gets them.
        row("one small square", "+ 64", "100", 0, false);
        row("largest size", "+", "1024", 0, true);
        row("taller than wide", "tall", "128", 3);
        row("no picture at all", "text", "128", 3);
        row("truncated", "half of +-", "128", 3);
        row("missing", "missing", "128", 3);
        row("size zero", "+", "0", 2);
        row("size too large", "+", "1025", 2);
        row("size no number", "+", "large", 2);
        const QDir fixtures(RIMGLOW_FIXTURES "/designs");
        for (const QString folder : {"readable", "unreadable"})
            for (const QString& name : QDir(fixtures.filePath(folder)).entryList(QDir::Files))
                row(folder + '/' + name, fixtures.filePath(folder + '/' + name), "128",
                    folder == "readable" ? 0 : 3);
    }
    void designs()
    {
        QFETCH(QString, design);
        QFETCH(QString, size);
        QFETCH(int, status);
        const QString name = QString(QTest::currentDataTag()).replace('/', '-');
        const bool made = !QFileInfo(design).isAbsolute();
        if (made) {
            makeDesign(dir.filePath(name + ".DEMO"), design);
            design = dir.filePath(name + ".DEMO");
        }
        const QString output = dir.filePath(name + ".png");
        QCOMPARE(thumbnail(Product::demo() + QStringList{size, design, output}), status);
        QCOMPARE(QFile::exists(output), status == 0);
        if (status != 0)
            return;
        const QImage drawn(output);
        QCOMPARE(drawn.size(), QSize(size.toInt(), size.toInt()));
        // Every cell of the first picture is lit, or none is: the first cell's middle tells.
        const WheelWeb web(16, 8, 80, 16);
        const QPoint middle = (web.getCenters().first() * size.toInt() / 512).toPoint();
        if (made)
            QTEST(drawn.pixelColor(middle).red() > 128, "lit");
    }

    // Not the four operands it needs, or a product it does not know.
    void commandLines_data()
    {
        QTest::addColumn<QStringList>("arguments");
        const QStringList demo = Product::demo();
        QTest::newRow("no operands") << demo;
        QTest::newRow("no output") << demo + QStringList{"128", "in.DEMO"};
        QTest::newRow("one too many") << demo + QStringList{"128", "in.DEMO", "out.png", "x"};
        QTest::newRow("no product") << QStringList{"128", "in.DEMO", "out.png"};
        QStringList badSize = demo;
        badSize[badSize.indexOf("-s") + 1] = "16";
        QTest::newRow("bad product") << badSize + QStringList{"128", "in.DEMO", "out.png"};
    }
    void commandLines()
    {
        QFETCH(QStringList, arguments);
        makeDesign(dir.filePath("in.DEMO"), "+");
        for (QString& argument : arguments)
            if (argument == "in.DEMO" || argument == "out.png")
                argument = dir.filePath(argument);
        QCOMPARE(thumbnail(arguments), 2);
        QVERIFY(!QFile::exists(dir.filePath("out.png")));
    }
};

RIMGLOW_TEST(ThumbnailTest)
#include "tst_thumbnail.moc"
