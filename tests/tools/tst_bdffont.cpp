#include "fixtures.h"
#include "testsuite.h"
#include "tools/bdfchar.h"
#include "tools/bdffont.h"

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
const QByteArray letterG = glyph('g', "3 4 0 -2", "4 0", {"E0", "A0", "E0", "20"});

const Points upright = {{1, 0}, {0, 1}, {2, 1}, {0, 2}, {1, 2},
                        {2, 2}, {0, 3}, {2, 3}, {0, 4}, {2, 4}};
const Points upsideDown = {{-1, 4}, {0, 3}, {-2, 3}, {0, 2}, {-1, 2},
                           {-2, 2}, {0, 1}, {-2, 1}, {0, 0}, {-2, 0}};

Points shifted(Points points, int columns)
{
    for (QPoint& p : points)
        p.rx() += columns;
    return points;
}

// Row 0 from column first to last.
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
        QFile file(dir.filePath(QString("font%1.bdf").arg(++files)));
        if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
            qFatal("cannot write %s", qPrintable(file.fileName()));
        return file.fileName();
    }

private slots:
    // One glyph's pixels (y grows upwards from the baseline) and its advance, from the BBX and
    // DWIDTH numbers and the hexadecimal rows, however odd.
    void glyphs_data()
    {
        QTest::addColumn<QString>("bbx");
        QTest::addColumn<QString>("dwidth");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<Points>("expected");
        QTest::addColumn<QPoint>("advance");
        const auto row = [](const char* name, const char* bbx, const char* dwidth,
                            const QStringList& rows, const Points& lit, QPoint advance = {}) {
            QTest::newRow(name) << bbx << dwidth << rows << lit << advance;
        };
        row("every kind of digit", "24 1 0 0", "", {"09AFaf"},
            Points{{4, 0}, {7, 0}, {8, 0}, {10, 0}} + columnsOf(12, 15) + Points{{16, 0}, {18, 0}} +
                columnsOf(20, 23));
        row("bits beyond the width and rows beyond the height", "3 1 0 0", "", {"FF", "FF"},
            columnsOf(0, 2));
        row("row shorter than the width", "16 1 0 0", "", {"FF"}, columnsOf(0, 7));
        row("not hexadecimal rows are unlit", "8 3 0 0", "", {"FG", "F F", "80"}, {{0, 0}});
        row("longer than a glyph keeps", "4000 1 0 0", "", {QString(600, 'F')},
            columnsOf(0, BDFchar::maxRowBits - 1));
        row("two blanks make an empty field", "1 1  3", "2  7", {"80"}, {{0, 3}}, QPoint(2, 0));
        // The column and the row beyond INT_MAX are dropped.
        row("offsets near the upper int limit", "3 2 2147483646 2147483647", "", {"E0", "E0"},
            {{INT_MAX - 1, INT_MAX}, {INT_MAX, INT_MAX}});
        row("offsets at the lower int limit", "2 2 -2147483648 -2147483648", "", {"40", "80"},
            {{INT_MIN + 1, INT_MIN + 1}, {INT_MIN, INT_MIN}});
        Points kept;
        for (int r = 0; r < BDFchar::maxRows; ++r)
            kept << QPoint(0, INT_MAX - 1 - r);
        row("rows beyond what a glyph keeps", "1 2147483647 0 0", "",
            QStringList(3 * BDFchar::maxRows, "80"), kept);
    }

    void glyphs()
    {
        QFETCH(QString, bbx);
        QFETCH(QString, dwidth);
        QFETCH(QStringList, rows);
        BDFchar glyph;
        glyph.setBBX(bbx);
        glyph.setDWIDTH(dwidth);
        for (const QString& row : rows)
            glyph.addData(row);
        QTEST(glyph.data(), "expected");
        QTEST(glyph.nextOrignal(), "advance");
    }

    // A text laid out from a font file: rows grow downwards from the top row, or the whole is
    // turned upside down; letters follow each other by their advance.
    void texts_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("down");
        QTest::addColumn<Points>("expected");
        const QByteArray ag = font(letterA + letterG);
        QTest::newRow("missing letters around, upside down")
            << ag << "\tAbA?" << true << upsideDown + shifted(upsideDown, -4);
        // After the A, whose foot is row 4, the baseline: the tail reaches two rows further.
        QTest::newRow("descender after a letter without one")
            << ag << "Ag" << false << upright + Points{{4, 3}, {5, 3}, {6, 3}, {4, 4}, {6, 4},
                                                       {4, 5}, {5, 5}, {6, 5}, {6, 6}};
        // Only the left column of the second A still fits in the int range; the third lies
        // beyond.
        QTest::newRow("huge advance")
            << font(glyph(65, "3 5 0 0", "2147483647 0", {"40", "A0", "E0", "A0", "A0"})) << "AAA"
            << false << upright + Points{{INT_MAX, 1}, {INT_MAX, 2}, {INT_MAX, 3}, {INT_MAX, 4}};
        // Without ENDCHAR the next glyph's lines are rows of this one, below its height.
        QTest::newRow("ENDCHAR missing")
            << QByteArray(letterA).replace("ENDCHAR\n", "") + glyph(66, "1 1 0 0", "1 0", {"80"})
            << "AB" << false << upright;
        // Were these read as keywords, the B would take the A's lines.
        QTest::newRow("keywords are upper case, at the start of a line, with a blank")
            << "encoding 66\n ENCODING 66\nENCODING66\nBBX 1 1 0 0\nBITMAP\n80\nENDCHAR\n" + letterA
            << "AB" << false << upright;
        // The rest of a long line never becomes a line of its own.
        const int limit = BDFfont::maxLineLength;
        QTest::newRow("long row") << font(glyph(65, "8 3 0 0", "8 0",
                                                {QByteArray(3 * limit, 'F'), "00", "00"}))
                                  << "AB" << false << columnsOf(0, 7);
    }

    void texts()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, text);
        QFETCH(bool, down);
        const BDFfont bdf(write(content));
        QTEST(bdf.text(text, down), "expected");
    }

    // Files that hold no glyph lay out nothing, whatever the text.
    void fontsWithoutGlyphs()
    {
        QByteArray garbage(1 << 20, Qt::Uninitialized);
        QRandomGenerator(7).fillRange(reinterpret_cast<quint32*>(garbage.data()), 1 << 18);
        QString everyUnit;
        for (int u = 0; u <= 0xFFFF; ++u)
            everyUnit.append(QChar(u));
        for (const QString& path :
             {write(font(letterA).replace("ENCODING 65\n", "")), write(QByteArray()),
              write(garbage), write(QByteArray(10 << 20, 'F')), dir.filePath("missing.bdf"),
              dir.path()}) {
            const BDFfont bdf(path);
            QCOMPARE(bdf.text(everyUnit, false), Points());
            QCOMPARE(bdf.text(everyUnit, true), Points());
        }
    }

    // A font whose bitmaps would take 160 MB when kept in full: the glyphs beyond the budget
    // draw nothing but still advance, and a warning names the file.
    void glyphsBeyondTheBudget()
    {
        const QByteArray tall = QByteArrayList(1024, "FF").join('\n');
        QByteArray glyphs;
        for (int encoding = 0xE000; encoding < 0xF900; ++encoding)
            glyphs += glyph(encoding, "8 1024 0 0", "8 0", {tall});
        const QString path = write(font(glyphs));
        const QRegularExpression warning("font " + QRegularExpression::escape(path) + " holds");
        QTest::ignoreMessage(QtWarningMsg, warning);
        QTest::failOnWarning(warning);
        const BDFfont bdf(path);
        const Points first = bdf.text(QString(QChar(0xE000)), false);
        QCOMPARE(first.size(), 8 * 1024);
        QCOMPARE(bdf.text(QString(QChar(0xF8FF)) + QChar(0xE000), false), shifted(first, 8));
    }

    // Whatever a font file holds, the layout stays in its coordinate rules.
    void fontFiles_data() { addFixtureRows("fonts"); }

    void fontFiles()
    {
        QFETCH(QString, path);
        QVERIFY(!path.isEmpty());
        const BDFfont bdf(path);
        QString text;
        for (char16_t c = 0; c < 0x250; ++c)
            text += QChar(c);
        for (const bool down : {false, true})
            for (const QPoint& p : bdf.text(text, down))
                QVERIFY2((down ? p.x() <= 0 : p.x() >= 0) && p.y() >= 0,
                         qPrintable(QString("(%1, %2)").arg(p.x()).arg(p.y())));
    }
};

RIMGLOW_TEST(BDFfontTest)
#include "tst_bdffont.moc"
