#include "fixtures.h"
#include "residentmemory.h"
#include "testsuite.h"
#include "tools/bdfchar.h"
#include "tools/bdffont.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <climits>

namespace {

using Points = QVector<QPoint>;

QByteArray glyph(int encoding, const QByteArray& bbx, const QByteArray& dwidth,
                 const QByteArrayList& rows)
{
    return "STARTCHAR U" + QByteArray::number(encoding) + "\nENCODING " +
           QByteArray::number(encoding) + "\nSWIDTH 500 0\nDWIDTH " + dwidth + "\nBBX " + bbx +
           "\nBITMAP\n" + rows.join('\n') + "\nENDCHAR\n";
}

QByteArray font(const QByteArray& glyphs)
{
    return "STARTFONT 2.1\nFONT -rimglow-test\nSIZE 8 75 75\nFONTBOUNDINGBOX 4 7 0 -2\n"
           "STARTPROPERTIES 1\nFONT_ASCENT 5\nENDPROPERTIES\n" +
           glyphs + "ENDFONT\n";
}

const QByteArray letterA = glyph(65, "3 5 0 0", "4 0", {"40", "A0", "E0", "A0", "A0"});

const Points upright = {{1, 0}, {0, 1}, {2, 1}, {0, 2}, {1, 2},
                        {2, 2}, {0, 3}, {2, 3}, {0, 4}, {2, 4}};
const Points upsideDown = {{-1, 4}, {0, 3}, {-2, 3}, {0, 2}, {-1, 2},
                           {-2, 2}, {0, 1}, {-2, 1}, {0, 0}, {-2, 0}};

Points shifted(const Points& points, int columns)
{
    Points moved;
    for (const QPoint& p : points)
        moved.append(p + QPoint(columns, 0));
    return moved;
}

Points columnsOf(int first, int last)
{
    Points points;
    for (int c = first; c <= last; ++c)
        points.append(QPoint(c, 0));
    return points;
}

} // namespace

class BDFfontTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    int files = 0;

    QString write(const QByteArray& content)
    {
        const QString path = dir.filePath(QString("font%1.bdf").arg(++files));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

private slots:
    void initTestCase() { QVERIFY(dir.isValid()); }

    void glyphData()
    {
        BitFont::BDFchar a;
        a.setBBX("3 5 0 0");
        a.setDWIDTH("4 0");
        for (const char* row : {"40", "A0", "E0", "A0", "A0"})
            a.addData(row);
        const Points expected = {{1, 4}, {0, 3}, {2, 3}, {0, 2}, {1, 2},
                                 {2, 2}, {0, 1}, {2, 1}, {0, 0}, {2, 0}};
        QCOMPARE(a.data(), expected);
        QCOMPARE(a.nextOrignal(), QPoint(4, 0));
    }

    void oneLetter_data()
    {
        QTest::addColumn<bool>("down");
        QTest::addColumn<Points>("expected");
        QTest::newRow("upright") << false << upright;
        QTest::newRow("upside down") << true << upsideDown;
    }

    void oneLetter()
    {
        QFETCH(bool, down);
        QFETCH(Points, expected);
        const BitFont::BDFfont bdf(write(font(letterA)));
        QCOMPARE(bdf.text(QString(QChar(65)), down), expected);
    }

    void secondLetterFollowsTheAdvance_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("down");
        QTest::addColumn<Points>("expected");
        const Points twoUpright = upright + shifted(upright, 4);
        const Points twoDown = upsideDown + shifted(upsideDown, -4);
        QTest::newRow("upright") << "AA" << false << twoUpright;
        QTest::newRow("upside down") << "AA" << true << twoDown;
        QTest::newRow("missing letter between") << "AbA" << false << twoUpright;
        QTest::newRow("missing letters around, upside down") << "\tAbA?" << true << twoDown;
        QTest::newRow("missing surrogate pair between") << "A\U0001F6B2A" << false << twoUpright;
        QTest::newRow("nothing the font has") << "b\U0001F6B2" << false << Points();
        QTest::newRow("empty text") << "" << true << Points();
    }

    void secondLetterFollowsTheAdvance()
    {
        QFETCH(QString, text);
        QFETCH(bool, down);
        QFETCH(Points, expected);
        const BitFont::BDFfont bdf(write(font(letterA)));
        QCOMPARE(bdf.text(text, down), expected);
    }

    void descender_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("down");
        QTest::addColumn<Points>("expected");
        // Rows at y 1, 0 (the baseline), -1 and -2.
        QTest::newRow("upright") << "g" << false << Points{{0, 0}, {1, 0}, {2, 0}, {0, 1}, {2, 1},
                                                           {0, 2}, {1, 2}, {2, 2}, {2, 3}};
        QTest::newRow("upside down")
            << "g" << true
            << Points{{0, 3}, {-1, 3}, {-2, 3}, {0, 2}, {-2, 2}, {0, 1}, {-1, 1}, {-2, 1}, {-2, 0}};
        // After the A, whose foot is row 4, the baseline: the tail reaches two rows further.
        QTest::newRow("after a letter without descender")
            << "Ag" << false << upright + Points{{4, 3}, {5, 3}, {6, 3}, {4, 4}, {6, 4},
                                                 {4, 5}, {5, 5}, {6, 5}, {6, 6}};
    }

    void descender()
    {
        QFETCH(QString, text);
        QFETCH(bool, down);
        QFETCH(Points, expected);
        const BitFont::BDFfont bdf(
            write(font(letterA + glyph('g', "3 4 0 -2", "4 0", {"E0", "A0", "E0", "20"}))));
        QCOMPARE(bdf.text(text, down), expected);
    }

    void rowBits_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<QString>("row");
        QTest::addColumn<Points>("expected");
        QTest::newRow("0F of 8 wide") << 8 << "0F" << columnsOf(4, 7);
        QTest::newRow("FFFFFFFF of 32 wide") << 32 << "FFFFFFFF" << columnsOf(0, 31);
        QTest::newRow("256 wide, wider than any integer")
            << 256 << QString(64, 'F') << columnsOf(0, 255);
        QTest::newRow("fill bits beyond the width") << 3 << "FF" << columnsOf(0, 2);
        QTest::newRow("lower case digits") << 8 << "a5" << Points{{0, 0}, {2, 0}, {5, 0}, {7, 0}};
        QTest::newRow("row shorter than the width") << 16 << "FF" << columnsOf(0, 7);
        QTest::newRow("not hexadecimal") << 8 << "FG" << Points();
        QTest::newRow("blank inside") << 8 << "F F" << Points();
        QTest::newRow("empty row") << 8 << "" << Points();
        QTest::newRow("longer than a glyph keeps")
            << 4000 << QString(600, 'F') << columnsOf(0, BitFont::BDFchar::maxRowBits - 1);
    }

    void rowBits()
    {
        QFETCH(int, width);
        QFETCH(QString, row);
        QFETCH(Points, expected);
        BitFont::BDFchar glyph;
        glyph.setBBX(QString("%1 1 0 0").arg(width));
        glyph.addData(row);
        QCOMPARE(glyph.data(), expected);
    }

    void numbers_data()
    {
        QTest::addColumn<QString>("bbx");
        QTest::addColumn<QString>("dwidth");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<Points>("expected");
        QTest::addColumn<QPoint>("advance");
        const QStringList one = {"80"};
        QTest::newRow("complete") << "1 1 2 3"
                                  << "5 6" << one << Points{{2, 3}} << QPoint(5, 6);
        QTest::newRow("two blanks make an empty field")
            << "1 1  3"
            << "2  7" << one << Points{{0, 3}} << QPoint(2, 0);
        QTest::newRow("not a number") << "1 1 x 3"
                                      << "a 7" << one << Points{{0, 3}} << QPoint(0, 7);
        QTest::newRow("numbers missing") << "1 1 2"
                                         << "4" << one << Points{{2, 0}} << QPoint(4, 0);
        QTest::newRow("nothing") << ""
                                 << "" << one << Points() << QPoint();
        QTest::newRow("too large for int") << "2147483648 1 0 0"
                                           << "2147483648 1" << one << Points() << QPoint(0, 1);
        QTest::newRow("negative sizes") << "-1 -1 0 0"
                                        << "-3 -4" << one << Points() << QPoint(-3, -4);
        QTest::newRow("missing rows are unlit, the others keep their place")
            << "1 3 0 0"
            << "1 0" << one << Points{{0, 2}} << QPoint(1, 0);
        QTest::newRow("largest width and height")
            << "2147483647 2147483647 0 0"
            << "1 0" << QStringList{"C0", "80"}
            << Points{{0, INT_MAX - 1}, {1, INT_MAX - 1}, {0, INT_MAX - 2}} << QPoint(1, 0);
        QTest::newRow("x offset near the int limit")
            << "3 1 2147483646 0"
            << "1 0" << QStringList{"E0"} << Points{{INT_MAX - 1, 0}, {INT_MAX, 0}} << QPoint(1, 0);
        QTest::newRow("y offset at the int limit")
            << "1 2 0 2147483647"
            << "1 0" << QStringList{"80", "80"} << Points{{0, INT_MAX}} << QPoint(1, 0);
        QTest::newRow("offsets at the lower int limit")
            << "2 2 -2147483648 -2147483648"
            << "1 0" << QStringList{"40", "80"}
            << Points{{INT_MIN + 1, INT_MIN + 1}, {INT_MIN, INT_MIN}} << QPoint(1, 0);
    }

    void numbers()
    {
        QFETCH(QString, bbx);
        QFETCH(QString, dwidth);
        QFETCH(QStringList, rows);
        QFETCH(Points, expected);
        QFETCH(QPoint, advance);
        BitFont::BDFchar glyph;
        glyph.setBBX(bbx);
        glyph.setDWIDTH(dwidth);
        for (const QString& row : rows)
            glyph.addData(row);
        QCOMPARE(glyph.data(), expected);
        QCOMPARE(glyph.nextOrignal(), advance);
    }

    void glyphKeepsBoundedRows()
    {
        BitFont::BDFchar glyph;
        glyph.setBBX("1 2147483647 0 0");
        for (int i = 0; i < 3 * BitFont::BDFchar::maxRows; ++i)
            glyph.addData("80");
        QCOMPARE(glyph.data().size(), BitFont::BDFchar::maxRows);
    }

    void checkTag_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("tag");
        QTest::addColumn<bool>("found");
        QTest::addColumn<QString>("rest");
        QTest::newRow("numbers follow") << "BBX 3 5 0 0"
                                        << "BBX " << true << "3 5 0 0";
        QTest::newRow("nothing follows") << "ENDCHAR"
                                         << "ENDCHAR" << true << "";
        QTest::newRow("more letters follow") << "ENDCHARS"
                                             << "ENDCHAR" << true << "S";
        QTest::newRow("without the blank") << "BBX"
                                           << "BBX " << false << "untouched";
        QTest::newRow("longer keyword") << "BBXX 1"
                                        << "BBX " << false << "untouched";
        QTest::newRow("lower case") << "bbx 1"
                                    << "BBX " << false << "untouched";
        QTest::newRow("not at the start") << " BBX 1"
                                          << "BBX " << false << "untouched";
    }

    void checkTag()
    {
        QFETCH(QString, line);
        QFETCH(QString, tag);
        QFETCH(bool, found);
        QFETCH(QString, rest);
        QString result = "untouched";
        QCOMPARE(BitFont::BDFfont::checkTag(line, tag, &result), found);
        QCOMPARE(result, rest);
    }

    void boundingBox_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QRect>("box");
        QTest::newRow("complete") << QByteArray("FONTBOUNDINGBOX 8 16 -1 -4")
                                  << QRect(-1, -4, 8, 16);
        QTest::newRow("short") << QByteArray("FONTBOUNDINGBOX 8 16") << QRect(0, 0, 8, 16);
        QTest::newRow("empty field") << QByteArray("FONTBOUNDINGBOX 8  0 2") << QRect(0, 2, 8, 0);
        QTest::newRow("no numbers") << QByteArray("FONTBOUNDINGBOX") << QRect();
    }

    void boundingBox()
    {
        QFETCH(QByteArray, line);
        QFETCH(QRect, box);
        const BitFont::BDFfont bdf(write("STARTFONT 2.1\n" + line + "\n" + letterA));
        QCOMPARE(bdf.getBoundingBox(), box);
        QCOMPARE(bdf.text("A", false), upright);
    }

    void laterDuplicateWins()
    {
        const QByteArray bar = glyph(65, "1 2 0 0", "2 0", {"80", "80"});
        const BitFont::BDFfont later(write(font(letterA + bar)));
        QCOMPARE(later.text("AA", false), (Points{{0, 0}, {0, 1}, {2, 0}, {2, 1}}));
        const BitFont::BDFfont earlier(write(font(bar + letterA)));
        QCOMPARE(earlier.text("A", false), upright);
    }

    void emptyFont_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QByteArray>("content");
        QByteArray noEncoding = font(letterA);
        noEncoding.replace("ENCODING 65\n", "");
        QTest::newRow("no ENCODING line") << QString() << noEncoding;
        QTest::newRow("empty file") << QString() << QByteArray();
        QTest::newRow("missing file") << dir.filePath("missing.bdf") << QByteArray();
        QTest::newRow("directory") << dir.path() << QByteArray();
        QRandomGenerator random(7);
        QByteArray garbage(1 << 20, Qt::Uninitialized);
        for (char& byte : garbage)
            byte = char(random.bounded(256));
        QTest::newRow("binary garbage") << QString() << garbage;
        QTest::newRow("one long line") << QString() << QByteArray(10 << 20, 'F');
    }

    void emptyFont()
    {
        QFETCH(QString, path);
        QFETCH(QByteArray, content);
        QVERIFY(!content.contains("ENCODING "));
        const BitFont::BDFfont bdf(path.isEmpty() ? write(content) : path);
        QString everyUnit;
        for (int u = 0; u <= 0xFFFF; ++u)
            everyUnit.append(QChar(u));
        QCOMPARE(bdf.text(everyUnit, false), Points());
        QCOMPARE(bdf.text(everyUnit, true), Points());
    }

    void incompleteGlyph_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("text");
        QTest::addColumn<Points>("expected");
        const QByteArray header = "STARTFONT 2.1\nSTARTCHAR A\nENCODING 65\nDWIDTH 4 0\n";
        const Points topThreeRows = upright.mid(0, 6);
        QTest::newRow("file ends inside the bitmap")
            << header + "BBX 3 5 0 0\nBITMAP\n40\nA0\nE0"
            << "AA" << topThreeRows + shifted(topThreeRows, 4);
        QTest::newRow("file ends after ENCODING") << QByteArray("ENCODING 65") << "A" << Points();
        QTest::newRow("file ends after BBX") << header + "BBX 3 5 0 0\n"
                                             << "AA" << Points();
        QTest::newRow("fewer rows than the height")
            << header + "BBX 3 5 0 0\nBITMAP\n40\nA0\nE0\nENDCHAR\n"
            << "A" << topThreeRows;
        QTest::newRow("rows of fewer bits than the width")
            << header + "BBX 12 5 0 0\nBITMAP\n4\nA\nE\nA\nA\nENDCHAR\n"
            << "A" << upright;
        QTest::newRow("no BBX") << header + "BITMAP\n40\nA0\nENDCHAR\n"
                                << "A" << Points();
        QTest::newRow("no BITMAP") << header + "BBX 3 5 0 0\nENDCHAR\n"
                                   << "A" << Points();
        // Without ENDCHAR the next glyph's lines are rows of this one, below its height.
        QTest::newRow("ENDCHAR missing") << header + "BBX 3 5 0 0\nBITMAP\n40\nA0\nE0\nA0\nA0\n" +
                                                glyph(66, "1 1 0 0", "1 0", {"80"})
                                         << "AB" << upright;
        QTest::newRow("keywords before ENCODING belong to no glyph")
            << "BBX 1 1 0 0\nBITMAP\n80\nENDCHAR\n" + letterA << "A" << upright;
        QTest::newRow("encodings beyond UTF-16 do not wrap around")
            << glyph(65 + 0x10000, "1 1 0 0", "1 0", {"80"}) + glyph(-1, "1 1 0 0", "1 0", {"80"})
            << "A\uffff" << Points();
    }

    void incompleteGlyph()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, text);
        QFETCH(Points, expected);
        const BitFont::BDFfont bdf(write(content));
        QCOMPARE(bdf.text(text, false), expected);
    }

    void hugeAdvanceDropsWhatLeavesTheIntRange()
    {
        const BitFont::BDFfont bdf(
            write(font(glyph(65, "3 5 0 0", "2147483647 0", {"40", "A0", "E0", "A0", "A0"}))));
        // Only the left column of the second A still fits; the third lies beyond.
        const Points upright3 = bdf.text("AAA", false);
        QCOMPARE(upright3.mid(0, 10), upright);
        QCOMPARE(upright3.mid(10),
                 (Points{{INT_MAX, 1}, {INT_MAX, 2}, {INT_MAX, 3}, {INT_MAX, 4}}));
        const Points down3 = bdf.text("AAA", true);
        QCOMPARE(down3.mid(0, 10), upsideDown);
        QCOMPARE(down3.mid(10),
                 (Points{{-INT_MAX, 3}, {-INT_MAX, 2}, {-INT_MAX, 1}, {-INT_MAX, 0}}));
    }

    void longLines_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<Points>("expected");
        const int limit = BitFont::BDFfont::maxLineLength;
        // The rest of a long line never becomes a line of its own.
        for (int pieces : {1, 2, 3}) {
            QByteArray comment = "COMMENT ";
            comment.append(pieces * limit - comment.size(), 'x');
            QTest::addRow("ENCODING after %d cuts of a comment", pieces)
                << comment + "ENCODING 66\n" + letterA << upright;
        }
        QByteArray row = "STARTCHAR A\nENCODING 65\nDWIDTH 4 0\nBBX 3 5 0 0\nBITMAP\n";
        row.append(limit, '0');
        QTest::newRow("ENDCHAR after the cut of a row")
            << row + "ENDCHAR\n40\nA0\nE0\nA0\nENDCHAR\n"
            << upright.mid(0, 8);
        QTest::newRow("long row") << font(glyph(65, "8 1 0 0", "8 0", {QByteArray(3 * limit, 'F')}))
                                  << columnsOf(0, 7);
    }

    void longLines()
    {
        QFETCH(QByteArray, content);
        QFETCH(Points, expected);
        const BitFont::BDFfont bdf(write(content));
        QCOMPARE(bdf.text("A", false), expected);
        QCOMPARE(bdf.text("B", false), Points());
    }

    void fontKeepsBoundedBitmaps()
    {
        // 40 glyphs of 1024 distinct rows of 1024 bits: about 90 MB as the font keeps rows.
        QByteArray glyphs;
        for (int i = 0; i < 40; ++i) {
            QByteArrayList rows;
            for (int r = 0; r < 1024; ++r)
                rows.append(QByteArray(250, 'F') +
                            QByteArray::number(i * 1024 + r, 16).rightJustified(6, '0'));
            glyphs += glyph(0x100 + i, "1024 1024 0 0", "1024 0", rows);
        }
        const QString path = write(font(glyphs));
        const QRegularExpression warning("font " + QRegularExpression::escape(path) + " holds");
        QTest::ignoreMessage(QtWarningMsg, warning);
        QTest::failOnWarning(warning);
        const BitFont::BDFfont bdf(path);
        const Points first = bdf.text(QString(QChar(0x100)), false);
        QVERIFY(first.size() > 1000 * 1000);
        // The last glyph lies beyond what a font keeps, but still advances.
        QCOMPARE(bdf.text(QString(QChar(0x100 + 39)), false), Points());
        const Points after = bdf.text(QString(QChar(0x100 + 39)) + QChar(0x100), false);
        QCOMPARE(after, shifted(first, 1024));
    }

    void wholeBasicPlaneFontLoads()
    {
        // A 16-pixel font of every character of the Basic Multilingual Plane but the surrogates
        // and the private use area, as GNU Unifont is: about 57,000 glyphs, 9.5 MB.
        QFile file(dir.filePath("plane.bdf"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(font(QByteArray()).replace("ENDFONT\n", ""));
        auto rowsOf = [](int encoding) {
            QByteArrayList rows;
            for (int r = 0; r < 16; ++r)
                rows.append(QByteArray::number((encoding * 40503u + r * 9973u) & 0xFFFF, 16)
                                .rightJustified(4, '0'));
            return rows;
        };
        int glyphs = 0;
        for (int encoding = 0x20; encoding <= 0xFFFF; ++encoding) {
            if ((encoding >= 0xD800 && encoding < 0xF900))
                continue;
            file.write(glyph(encoding, "16 16 0 -2", "16 0", rowsOf(encoding)));
            ++glyphs;
        }
        file.write("ENDFONT\n");
        file.close();
        QVERIFY(glyphs > 57000);

        QTest::failOnWarning(QRegularExpression("holds more bitmap data"));
        const BitFont::BDFfont bdf(file.fileName());
        for (const QChar c : QString::fromUtf16(u"\u3350\u9FA5\uFFFD")) {
            const BitFont::BDFfont single(
                write(font(glyph(c.unicode(), "16 16 0 -2", "16 0", rowsOf(c.unicode())))));
            const Points expected = single.text(QString(c), false);
            QVERIFY(!expected.isEmpty());
            QCOMPARE(bdf.text(QString(c), false), expected);
        }
        QFile::remove(file.fileName());
    }

    void hundredMegabyteFileStaysSmall()
    {
        // 32768 glyphs of 1024 rows, about 100 MB; kept in full they would take gigabytes.
        const QString path = dir.filePath("huge.bdf");
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            const QByteArray rows = QByteArrayList(1024, "FF").join('\n');
            for (int encoding = 0; encoding < 32768; ++encoding)
                file.write(glyph(encoding, "8 1024 0 0", "8 0", {rows}));
            QVERIFY(file.size() > 100'000'000);
        }
        const long before = residentKilobytes();
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("huge.bdf holds more bitmap data"));
        const BitFont::BDFfont bdf(path);
        const long grown = residentKilobytes() - before;
        if (before >= 0)
            QVERIFY2(grown < 64 * 1024, qPrintable(QString("grew by %1 kB").arg(grown)));
        QCOMPARE(bdf.text(QString(QChar(0)), false).size(), 8 * 1024);
        QCOMPARE(bdf.text(QString(QChar(32767)), false), Points());
        QFile::remove(path);
    }

    // Whatever a font file holds, the layout stays in its coordinate rules.
    void fixtures_data() { addFixtureRows("fonts"); }

    void fixtures()
    {
        QFETCH(QString, path);
        QVERIFY(!path.isEmpty());
        const BitFont::BDFfont bdf(path);
        QString text;
        for (char16_t c = 0; c < 0x250; ++c)
            text += QChar(c);
        for (const bool down : {false, true})
            for (const QPoint& p : bdf.text(text, down))
                QVERIFY2((down ? p.x() <= 0 : p.x() >= 0) && p.y() >= 0,
                         qPrintable(QString("(%1, %2)").arg(p.x()).arg(p.y())));
    }

    void bundledFonts_data()
    {
        QTest::addColumn<QString>("path");
        const QDir folder(QCoreApplication::applicationDirPath() + "/font");
        const QStringList names = folder.entryList({"*.bdf"}, QDir::Files);
        for (const QString& name : names)
            QTest::newRow(qPrintable(name)) << folder.filePath(name);
        if (names.isEmpty())
            QTest::newRow("no fonts beside the test program") << QString();
    }

    void bundledFonts()
    {
        QFETCH(QString, path);
        QVERIFY(!path.isEmpty());
        const BitFont::BDFfont bdf(path);
        const int height = bdf.getBoundingBox().height();
        QVERIFY(height > 0);
        const Points points = bdf.text("A", false);
        QVERIFY(!points.isEmpty());
        for (const QPoint& p : points) {
            QVERIFY2(p.y() >= 0 && p.y() < height, qPrintable(QString("row %1").arg(p.y())));
            QVERIFY(p.x() >= 0);
        }
    }
};

RIMGLOW_TEST(BDFfontTest)
#include "tst_bdffont.moc"
