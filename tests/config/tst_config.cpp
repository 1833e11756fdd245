#include "config/argparser.h"
#include "config/wheelpackage.h"
#include "product.h"
#include "testsuite.h"

#include <QImage>
#include <QTest>

namespace {

// What a parse left in the parser, in one line.
QString summary(const ArgParser& c)
{
    QStringList ids;
    for (auto it = c.ids.cbegin(); it != c.ids.cend(); ++it)
        ids << it.key() + "=" + QString::number(it.value());
    return c.name +
           QString::asprintf(" %dx%d o%g i%g v:", c.lines, c.leds, c.outerSize, c.innerSize) +
           ids.join(',') + " c:" + c.getpackageList().keys().join(',') + (c.hasHall() ? " h" : "");
}

} // namespace

class ArgParserTest : public QObject {
    Q_OBJECT
private slots:
    // Every problem of the parse and of the validation that ends it, in order, and what was
    // kept.
    void parse_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("problems");
        QTest::addColumn<QString>("kept");
        // The options are split at spaces: two spaces in a row give an empty option.
        const auto row = [](const char* tag, const QString& options, const QString& problems,
                            const QString& kept) {
            QTest::newRow(tag) << options.split(' ') << problems << kept;
        };
        const QString example =
            "-n DEMO -s 128x32 -o 80 -i 16 -v D12x12+D08x8 -c red+blue+redxblue+redxgreenxblue";
        const QString all = "v:D08=8,D12=12 c:blue,red,redxblue,redxgreenxblue";
        const QString none = "|undefine name", blank = " -1x-1 o0 i0 v: c:";
        row("example", example + " -h", "", "DEMO 128x32 o80 i16 " + all + " h");
        // A problem the parse goes on after can leave a complete description.
        row("unknown letter last", example + " -d", "unknow argumentd",
            "DEMO 128x32 o80 i16 " + all);
        row("empty name ends the parse", "-n  -s 8x8", "unknow name" + none, blank);
        row("no id", "-n X -s 8x8", "undefine id", "X 8x8 o0 i0 v: c:");
        row("no colour", "-n X -s 8x8 -v Ax1", "undefine color", "X 8x8 o0 i0 v:A=1 c:");
        // A later -o 0 or -i 0 undoes the size after the packages were drawn.
        row("outer undone", example + " -o 0", "undefine outter size", "DEMO 128x32 o0 i16 " + all);
        row("inner undone", example + " -i 0", "undefine inner size", "DEMO 128x32 o80 i0 " + all);
        // A failing option ends the parse: the name after it is never read.
        row("size one part", "-n X -o 80 -i 16 -v Ax1 -s 16 -n Y",
            "unknow size format16|undefine size", "X -1x-1 o80 i16 v:A=1 c:");
        row("size 0 lines", "-s 0x16 -n Y", "unknow size0x16" + none, " 0x16 o0 i0 v: c:");
        row("as many cells as pixels", "-s 512x512", none.mid(1), " 512x512 o0 i0 v: c:");
        row("one cell more", "-s 481x545", "unknow size481x545" + none, blank);
        row("outer empty", "-o ", "unknow outter" + none, blank);
        row("ids", "-v Ax1+Bx2+Ax5+Cx-3", none.mid(1), " -1x-1 o0 i0 v:A=5,B=2,C=-3 c:");
        row("empty id element", "-v ABCx12+", "unknow id format" + none,
            " -1x-1 o0 i0 v:ABC=12 c:");
        row("second count zero", "-v ABCx12+DEFx0", "unknow id0ofDEFx0" + none,
            " -1x-1 o0 i0 v:ABC=12 c:");
        row("256 pictures", "-v ABCx256", none.mid(1), " -1x-1 o0 i0 v:ABC=256 c:");
        // More slots than a store request can name: nothing of the option is kept.
        row("257 pictures", "-v ABCx12+DEFx257", "unknow id257ofDEFx257" + none, blank);
        row("unknown letters go on", "-d -n X -z -n Y",
            "unknow argumentd|unknow argument?|undefine size", "XY -1x-1 o0 i0 v: c:");
        // Colours need the geometry first.
        row("colour before size", "-c red -n X", "unknow color : must define size before" + none,
            blank);
        row("colour before inner", "-s 8x8 -o 8 -c red",
            "unknow color : must define inner size before" + none, " 8x8 o8 i0 v: c:");
        const QString geometry = "-s 64x16 -o 80 -i 16 -c ", drawn = " 64x16 o80 i16 v: c:";
        row("unknown colour word", geometry + "red+redxblurple+blue",
            "unknow color blurple of redxblurple" + none, drawn + "red");
        row("three colours on 16, five on 16",
            geometry + "redxgreenxblue+redxgreenxbluexwhitexblack",
            "color size most equal 16 : redxgreenxbluexwhitexblack" + none,
            drawn + "redxgreenxblue");
        // Qt reads #AARRGGBB, which a product description does not allow.
        row("eight digits", geometry + "red+#80ff0000",
            "unknow color #80ff0000 of #80ff0000" + none, drawn + "red");
        const QString digits = "#f00x#00ff00x#000000fffx#ffff00000000";
        row("3, 6, 9, 12 digits", geometry + digits, none.mid(1), drawn + digits);
        QStringList texts;
        for (int i = 0; i < 65; ++i)
            texts << QString("#%1").arg(i, 3, 16, QChar('0'));
        // A package named twice counts once.
        row("64 packages", geometry + texts.mid(0, 64).join('+') + "+#000", none.mid(1),
            drawn + texts.mid(0, 64).join(','));
        row("65 packages", geometry + texts.join('+'),
            "unknow color #040 of " + texts.join('+') + none, drawn);
    }
    void parse()
    {
        QFETCH(QStringList, options);
        Product product(options);
        const ArgParser& c = *product.configuration;
        QTEST(c.problems().join('|'), "problems");
        // Valid as long as nothing is missing, whatever else the parse met.
        QCOMPARE(c.isValid(), !c.problems().join('|').contains("undefine"));
        QTEST(summary(c), "kept");
    }

    // Boundary k of the rings lies at the radius of the outer LED edge less k pitches, scaled
    // so that the outer edge is the square's edge; a package keeps its colours in order.
    void ringsAndColours()
    {
        Product product({"-s", "64x16", "-o", "80", "-i", "16", "-c", "redxlimexblue"});
        const ArgParser& c = *product.configuration;
        const double d = (80.0 - 16.0) / 15 / 2;
        for (int k : {0, 1, 8, 16})
            QVERIFY(qAbs((c.getX(k) - 256) - (80 + d - k * 2 * d) / (80 + d) * 256) < 1e-9);
        QCOMPARE(c.packages["redxlimexblue"], (QList<QColor>{Qt::red, Qt::green, Qt::blue}));
    }
};

class WheelPackageTest : public QObject {
    Q_OBJECT
private slots:
    // One colour lights the whole bar (without its alpha), three colours one bar each, 2, 4,
    // 8 or 16 colours stripe one bar; equal bars are shared, other counts get none.
    void lights()
    {
        WheelPackage package;
        package.add({QColor(10, 20, 30, 40)});
        package.add({Qt::blue, QColor(10, 20, 30), Qt::green});
        package.add({Qt::red, Qt::green, Qt::blue, Qt::white});
        package.add({Qt::red, Qt::green, Qt::blue, Qt::white, Qt::black});
        package.add({});
        const QList<QList<int>> bars{{}, {0, 0, 0}, {1, 0, 2}, {3, 3, 3}, {}, {}, {}};
        for (int i = -1; i <= 5; ++i)
            QCOMPARE(package.getColors(i), bars[i + 1]);
        const QList<QImage>& lights = *package.getLights();
        QCOMPARE(lights.size(), 4);
        const QList<QRgb> striped{0xFFFF0000, 0xFFFF0000, 0, 0, 0xFF00FF00, 0xFF00FF00, 0, 0,
                                  0xFF0000FF, 0xFF0000FF, 0, 0, 0xFFFFFFFF, 0xFFFFFFFF, 0, 0};
        QCOMPARE(lights[0].size(), QSize(1, 16));
        QCOMPARE(lights[0].format(), QImage::Format_ARGB32);
        for (int row = 0; row < 16; ++row) {
            QCOMPARE(lights[0].pixel(0, row), qRgba(10, 20, 30, 255));
            QCOMPARE(lights[3].pixel(0, row), striped[row]);
        }
    }
};

RIMGLOW_TEST(ArgParserTest)
RIMGLOW_TEST(WheelPackageTest)
#include "tst_config.moc"
