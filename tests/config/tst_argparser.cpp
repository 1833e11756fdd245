#include "config/argparser.h"
#include "modalanswerer.h"
#include "testsuite.h"

#include <QImage>
#include <QTest>

#include <cmath>
#include <memory>

namespace {

struct Parse {
    std::unique_ptr<ArgParser> parser;
    QStringList messages;
};

// Parses a command line as the program would, answering and recording its message boxes.
Parse parse(const QStringList& options)
{
    QList<QByteArray> words{"rimglow"};
    for (const QString& option : options)
        words << option.toLocal8Bit();
    QList<char*> argv;
    for (QByteArray& word : words)
        argv << word.data();
    argv << nullptr;

    ModalAnswerer answerer;
    Parse result;
    result.parser = std::make_unique<ArgParser>(int(words.size()), argv.data());
    for (const QString& title : answerer.titles)
        if (title != "Init Error")
            qWarning("unexpected box title %s", qPrintable(title));
    result.messages = answerer.texts;
    return result;
}

QStringList validationMessages(ArgParser* parser, bool* valid)
{
    ModalAnswerer answerer;
    *valid = parser->isValid();
    return answerer.texts;
}

const QStringList example{"-n", "DEMO",         "-s", "128x32",
                          "-o", "80",           "-i", "16",
                          "-v", "D12x12+D08x8", "-c", "red+blue+redxblue+redxgreenxblue"};

QColor pixelAt(const QPixmap& pixmap, double radius, double degrees)
{
    const double a = degrees * M_PI / 180;
    const QImage image = pixmap.toImage();
    return image.pixelColor(int(256 + radius * std::cos(a)), int(256 - radius * std::sin(a)));
}

} // namespace

class ArgParserTest : public QObject {
    Q_OBJECT
private slots:
    void exampleProductIsValid()
    {
        Parse p = parse(example);
        QCOMPARE(p.messages, QStringList());
        bool valid = false;
        QCOMPARE(validationMessages(p.parser.get(), &valid), QStringList());
        QVERIFY(valid);
        QCOMPARE(p.parser->name, QString("DEMO"));
        QCOMPARE(p.parser->lines, 128);
        QCOMPARE(p.parser->leds, 32);
        QCOMPARE(p.parser->outerSize, 80.0);
        QCOMPARE(p.parser->innerSize, 16.0);
        QCOMPARE(p.parser->getidList(), (QMap<QString, int>{{"D12", 12}, {"D08", 8}}));
        QCOMPARE(p.parser->getpackageList().keys(),
                 (QStringList{"blue", "red", "redxblue", "redxgreenxblue"}));
        QVERIFY(!p.parser->hasHall());
        QVERIFY(parse(example + QStringList{"-h"}).parser->hasHall());
    }

    void noOptionsReportsTheMissingName()
    {
        Parse p = parse({});
        QCOMPARE(p.messages, QStringList());
        bool valid = true;
        QCOMPARE(validationMessages(p.parser.get(), &valid), QStringList{"undefine name"});
        QVERIFY(!valid);
    }

    void validationOrder_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("message");
        QTest::newRow("size") << QStringList{"-n", "X"} << "undefine size";
        QTest::newRow("id") << QStringList{"-n", "X", "-s", "8x8"} << "undefine id";
        QTest::newRow("color") << QStringList{"-n", "X", "-s", "8x8", "-v", "Ax1"}
                               << "undefine color";
        // A later -o 0 undoes the outer size after the packages were drawn.
        QTest::newRow("outter") << QStringList{"-n", "X",  "-s", "8x8", "-v",  "Ax1", "-o",
                                               "80", "-i", "16", "-c",  "red", "-o",  "0"}
                                << "undefine outter size";
        QTest::newRow("inner") << QStringList{"-n", "X",  "-s", "8x8", "-v",  "Ax1", "-o",
                                              "80", "-i", "16", "-c",  "red", "-i",  "0"}
                               << "undefine inner size";
    }

    void validationOrder()
    {
        QFETCH(QStringList, options);
        QFETCH(QString, message);
        Parse p = parse(options);
        QCOMPARE(p.messages, QStringList());
        bool valid = true;
        QCOMPARE(validationMessages(p.parser.get(), &valid), QStringList{message});
        QVERIFY(!valid);
    }

    void repeatedNamesConcatenate()
    {
        QCOMPARE(parse({"-n", "A", "-n", "B"}).parser->name, QString("AB"));
    }

    void emptyNameEndsTheParsing()
    {
        Parse p = parse({"-n", "", "-s", "8x8"});
        QCOMPARE(p.messages, QStringList{"unknow name"});
        QCOMPARE(p.parser->lines, -1);
    }

    void sizes_data()
    {
        QTest::addColumn<QString>("arg");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("leds");
        QTest::newRow("valid") << "128x32"
                               << "" << 128 << 32;
        QTest::newRow("one part") << "16"
                                  << "unknow size format16" << -1 << -1;
        QTest::newRow("three parts") << "1x2x3"
                                     << "unknow size format1x2x3" << -1 << -1;
        QTest::newRow("zero lines") << "0x16"
                                    << "unknow size0x16" << 0 << 16;
        QTest::newRow("empty leds") << "16x"
                                    << "unknow size16x" << 16 << 0;
        QTest::newRow("words") << "axb"
                               << "unknow sizeaxb" << 0 << 0;
        QTest::newRow("negative") << "-4x8"
                                  << "unknow size-4x8" << -4 << 8;
        QTest::newRow("more cells than pixels") << "1024x512"
                                                << "unknow size1024x512" << -1 << -1;
    }

    void sizes()
    {
        QFETCH(QString, arg);
        QFETCH(QString, message);
        // A failing -s ends the parsing, so the name after it is never read.
        Parse p = parse({"-s", arg, "-n", "X"});
        QCOMPARE(p.messages, message.isEmpty() ? QStringList() : QStringList{message});
        QTEST(p.parser->lines, "lines");
        QTEST(p.parser->leds, "leds");
        QCOMPARE(p.parser->name, message.isEmpty() ? QString("X") : QString());
    }

    void radii_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("arg");
        QTest::addColumn<QString>("message");
        QTest::addColumn<double>("value");
        QTest::newRow("outer") << "-o"
                               << "80"
                               << "" << 80.0;
        QTest::newRow("outer zero") << "-o"
                                    << "0"
                                    << "" << 0.0;
        QTest::newRow("outer negative") << "-o"
                                        << "-5"
                                        << "" << -5.0;
        QTest::newRow("outer trailing text") << "-o"
                                             << "12abc"
                                             << "unknow outter12abc" << 0.0;
        QTest::newRow("outer empty") << "-o"
                                     << ""
                                     << "unknow outter" << 0.0;
        QTest::newRow("inner") << "-i"
                               << "16"
                               << "" << 16.0;
        QTest::newRow("inner fraction") << "-i"
                                        << "3.5"
                                        << "unknow inner3.5" << 0.0;
        QTest::newRow("inner empty") << "-i"
                                     << ""
                                     << "unknow inner" << 0.0;
    }

    void radii()
    {
        QFETCH(QString, option);
        QFETCH(QString, arg);
        QFETCH(QString, message);
        Parse p = parse({option, arg});
        QCOMPARE(p.messages, message.isEmpty() ? QStringList() : QStringList{message});
        QTEST(option == "-o" ? p.parser->outerSize : p.parser->innerSize, "value");
    }

    void identityCodes_data()
    {
        QTest::addColumn<QString>("arg");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QStringList>("codes");
        QTest::newRow("two") << "ABCx12+DEFx8"
                             << "" << QStringList{"ABC", "DEF"};
        QTest::newRow("negative count") << "ABCx-3"
                                        << "" << QStringList{"ABC"};
        QTest::newRow("no x") << "ABC"
                              << "unknow id formatABC" << QStringList();
        QTest::newRow("empty element") << "ABCx12+"
                                       << "unknow id format" << QStringList{"ABC"};
        QTest::newRow("empty code") << "x5"
                                    << "unknow idofx5" << QStringList();
        QTest::newRow("zero count") << "ABCx0"
                                    << "unknow id0ofABCx0" << QStringList();
        QTest::newRow("word count") << "ABCxtwo"
                                    << "unknow idtwoofABCxtwo" << QStringList();
        QTest::newRow("second bad") << "ABCx12+DEFx0"
                                    << "unknow id0ofDEFx0" << QStringList{"ABC"};
        QTest::newRow("256 pictures") << "ABCx256"
                                      << "" << QStringList{"ABC"};
        // More slots than a store request can name: nothing of the option is kept.
        QTest::newRow("257 pictures") << "ABCx12+DEFx257"
                                      << "unknow id257ofDEFx257" << QStringList();
        QTest::newRow("int max pictures") << "ABCx2147483647"
                                          << "unknow id2147483647ofABCx2147483647" << QStringList();
    }

    void identityCodes()
    {
        QFETCH(QString, arg);
        QFETCH(QString, message);
        Parse p = parse({"-v", arg});
        QCOMPARE(p.messages, message.isEmpty() ? QStringList() : QStringList{message});
        QTEST(p.parser->getidList().keys(), "codes");
    }

    void lastIdentityCodeWins()
    {
        Parse p = parse({"-v", "Ax1+Bx2+Ax5"});
        QCOMPARE(p.parser->getidList(), (QMap<QString, int>{{"A", 5}, {"B", 2}}));
        QCOMPARE(parse({"-v", "ABCx-3"}).parser->getidList().value("ABC"), -3);
    }

    void colorsNeedTheGeometryFirst_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("message");
        QTest::newRow("size") << QStringList{"-c", "red", "-n", "X"}
                              << "unknow color : must define size before";
        QTest::newRow("outter") << QStringList{"-s", "8x8", "-i", "4", "-c", "red", "-n", "X"}
                                << "unknow color : must define outter size before";
        QTest::newRow("zero outter")
            << QStringList{"-s", "8x8", "-o", "0", "-i", "4", "-c", "red", "-n", "X"}
            << "unknow color : must define outter size before";
        QTest::newRow("inner") << QStringList{"-s", "8x8", "-o", "8", "-c", "red", "-n", "X"}
                               << "unknow color : must define inner size before";
    }

    void colorsNeedTheGeometryFirst()
    {
        QFETCH(QStringList, options);
        QFETCH(QString, message);
        Parse p = parse(options);
        QCOMPARE(p.messages, QStringList{message});
        QVERIFY(p.parser->name.isEmpty());
        QVERIFY(p.parser->getpackageList().isEmpty());
    }

    void badColors_data()
    {
        QTest::addColumn<int>("leds");
        QTest::addColumn<QString>("arg");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QStringList>("stored");
        QTest::newRow("unknown word")
            << 16 << "red+redxblurple+blue"
            << "unknow color blurple of redxblurple" << QStringList{"red"};
        QTest::newRow("empty part") << 16 << "redx"
                                    << "unknow color  of redx" << QStringList();
        QTest::newRow("two on 15") << 15 << "redxblue"
                                   << "color size most equal 15 : redxblue" << QStringList();
        QTest::newRow("two on 16") << 16 << "redxblue"
                                   << "" << QStringList{"redxblue"};
        QTest::newRow("three on 15") << 15 << "redxgreenxblue"
                                     << "" << QStringList{"redxgreenxblue"};
        QTest::newRow("five on 30") << 30 << "redxgreenxbluexwhitexblack"
                                    << "" << QStringList{"redxgreenxbluexwhitexblack"};
        // Qt reads #AARRGGBB, which a product description does not allow.
        QTest::newRow("eight digits")
            << 16 << "red+#80ff0000"
            << "unknow color #80ff0000 of #80ff0000" << QStringList{"red"};
        QTest::newRow("3, 6, 9, 12 digits")
            << 16 << "#f00x#00ff00x#000000fffx#ffff00000000"
            << "" << QStringList{"#f00x#00ff00x#000000fffx#ffff00000000"};
        QStringList texts;
        for (int i = 0; i < 65; ++i)
            texts << QString("#%1").arg(i, 3, 16, QChar('0'));
        QTest::newRow("64 packages") << 16 << texts.mid(0, 64).join('+') << "" << texts.mid(0, 64);
        QTest::newRow("65 packages")
            << 16 << texts.join('+') << "unknow color #040 of " + texts.join('+') << QStringList();
    }

    void badColors()
    {
        QFETCH(int, leds);
        QFETCH(QString, arg);
        QFETCH(QString, message);
        Parse p =
            parse({"-s", QString("64x%1").arg(leds), "-o", "80", "-i", "16", "-c", arg, "-n", "X"});
        QCOMPARE(p.messages, message.isEmpty() ? QStringList() : QStringList{message});
        QTEST(p.parser->getpackageList().keys(), "stored");
        QCOMPARE(p.parser->name, message.isEmpty() ? QString("X") : QString());
    }

    void packagesAreOrderedByTextAndUnique()
    {
        Parse p = parse({"-s", "8x8", "-o", "8", "-i", "2", "-c", "red+blue+red"});
        QCOMPARE(p.parser->getpackageList().keys(), (QStringList{"blue", "red"}));
    }

    void unknownLettersAreReportedAndSkipped()
    {
        Parse p = parse({"-d", "-n", "X", "-z", "-n", "Y"});
        QCOMPARE(p.messages, (QStringList{"unknow argumentd", "unknow argument?"}));
        QCOMPARE(p.parser->name, QString("XY"));
    }

    void convertColor()
    {
        Parse p = parse({});
        ModalAnswerer answerer;
        QCOMPARE(p.parser->convertColor("red"), QList<QColor>{QColor(255, 0, 0)});
        QCOMPARE(p.parser->convertColor("#ff0000x#00ff00x#0000ff"),
                 (QList<QColor>{QColor(255, 0, 0), QColor(0, 255, 0), QColor(0, 0, 255)}));
        QCOMPARE(p.parser->convertColor("#f00xtransparent").size(), 2);
        QCOMPARE(answerer.texts, QStringList());
        QVERIFY(p.parser->convertColor("redxnope").isEmpty());
        QCOMPARE(answerer.texts, QStringList{"unknow color nope of redxnope"});
    }

    void ringBoundaries()
    {
        Parse p = parse({"-s", "128x32", "-o", "80", "-i", "16"});
        ArgParser& c = *p.parser;
        const double d = (80.0 - 16.0) / 31 / 2;
        QCOMPARE(c.getX(0), 512.0);
        // Boundary k lies at the radius of the outer LED edge less k pitches, scaled so that
        // the outer edge is the square's edge.
        for (int k : {1, 16, 32}) {
            const double radius = (80 + d - k * 2 * d) / (80 + d) * 256;
            QVERIFY(qAbs((c.getX(k) - 256) - radius) < 1e-9);
        }
    }

    void onePackagePreview()
    {
        Parse p = parse({"-s", "128x32", "-o", "80", "-i", "16", "-c", "red"});
        const QPixmap preview = p.parser->getpackageList().value("red");
        QCOMPARE(preview.size(), QSize(512, 512));
        const double hub = p.parser->getX(32) - 256;
        QCOMPARE(pixelAt(preview, 250, 90), QColor(Qt::red));
        QCOMPARE(pixelAt(preview, hub + 2, 200), QColor(Qt::red));
        QCOMPARE(pixelAt(preview, hub - 2, 200).alpha(), 0);
        QCOMPARE(pixelAt(preview, 0, 0).alpha(), 0);
        QCOMPARE(preview.toImage().pixelColor(0, 0).alpha(), 0);
    }

    void twoColourBandsAreEquallyWideInLeds()
    {
        Parse p = parse({"-s", "64x16", "-o", "80", "-i", "16", "-c", "redxblue"});
        ArgParser& c = *p.parser;
        const QPixmap preview = c.getpackageList().value("redxblue");
        const double middle = c.getX(8) - 256;
        const double hub = c.getX(16) - 256;
        QCOMPARE(pixelAt(preview, middle + 2, 45), QColor(Qt::red));
        QCOMPARE(pixelAt(preview, middle - 2, 45), QColor(Qt::blue));
        QCOMPARE(pixelAt(preview, hub + 2, 45), QColor(Qt::blue));
        QCOMPARE(pixelAt(preview, hub - 2, 45).alpha(), 0);
    }

    void threeColourSectors()
    {
        Parse p = parse({"-s", "64x15", "-o", "80", "-i", "16", "-c", "redxlimexblue"});
        const QPixmap preview = p.parser->getpackageList().value("redxlimexblue");
        QCOMPARE(pixelAt(preview, 200, 60), QColor(Qt::red));
        QCOMPARE(pixelAt(preview, 200, 180), QColor(Qt::green));
        QCOMPARE(pixelAt(preview, 200, 300), QColor(Qt::blue));
        QCOMPARE(pixelAt(preview, 20, 60).alpha(), 0);
    }

    void oddGeometriesStillDrawAPreview_data()
    {
        QTest::addColumn<QStringList>("geometry");
        QTest::newRow("one led") << QStringList{"-s", "64x1", "-o", "80", "-i", "16"};
        QTest::newRow("equal radii") << QStringList{"-s", "64x8", "-o", "80", "-i", "80"};
        QTest::newRow("inner larger") << QStringList{"-s", "64x8", "-o", "16", "-i", "80"};
        QTest::newRow("opposite signs") << QStringList{"-s", "64x8", "-o", "5", "-i", "-80"};
        QTest::newRow("cancelling") << QStringList{"-s", "64x2", "-o", "-1", "-i", "-3"};
    }

    void oddGeometriesStillDrawAPreview()
    {
        QFETCH(QStringList, geometry);
        Parse p = parse(geometry + QStringList{"-c", "red+redxblue"});
        QCOMPARE(p.messages.size(), geometry[1].endsWith("x1") ? 1 : 0);
        const QPixmap preview = p.parser->getpackageList().value("red");
        QCOMPARE(preview.size(), QSize(512, 512));
        for (int k = 0; k <= p.parser->leds; ++k)
            QVERIFY(std::isfinite(p.parser->getX(k)));
    }

    void singleLedPreviewIsAFullDisc()
    {
        Parse p = parse({"-s", "64x1", "-o", "80", "-i", "16", "-c", "red"});
        const QPixmap preview = p.parser->getpackageList().value("red");
        QCOMPARE(pixelAt(preview, 0, 0), QColor(Qt::red));
        QCOMPARE(pixelAt(preview, 250, 30), QColor(Qt::red));
    }
};

RIMGLOW_TEST(ArgParserTest)
#include "tst_argparser.moc"
