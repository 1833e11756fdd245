#ifndef BDFFONT_H
#define BDFFONT_H

#include <QMap>
#include <QPoint>
#include <QRect>
#include <QSet>
#include <QString>
#include <QVector>

class BDFchar;
class QTextStream;

// One BDF font file: its glyphs by encoding, and the layout of a text as lit pixels.
//
// Any file is safe to read, and what a font keeps stays bounded: lines are cut after
// maxLineLength characters (the rest of such a line is skipped), only the encodings 0 to 65535
// are kept since no UTF-16 code unit reaches the others, each glyph keeps a bounded bitmap (see
// BDFchar), and the bitmaps of a font take at most bitmapBudget bytes. Glyphs share equal rows,
// so a complete 16-pixel font of the Basic Multilingual Plane takes about a third of that;
// glyphs beyond it keep their advance but draw nothing, and a warning names the file. Pixels
// whose position leaves the int range are dropped.
class BDFfont {
public:
    static constexpr int maxLineLength = 65536;
    static constexpr qint64 bitmapBudget = qint64(48) * 1024 * 1024;

    // A file that cannot be opened gives a font without glyphs.
    explicit BDFfont(const QString& path);
    ~BDFfont();

    // The lit pixels of text in text coordinates: rows grow downwards from the top row, or, with
    // down, the whole turned by 180 degrees (columns 0 or negative).
    QVector<QPoint> text(const QString& text, bool down) const;
    // The FONTBOUNDINGBOX numbers; y grows upwards from the baseline.
    QRect getBoundingBox() const { return QRect(boxX, boxY, boxWidth, boxHeight); }

    // Whether line starts with tag; then rest becomes what follows it.
    static bool checkTag(const QString& line, const QString& tag, QString* rest);

private:
    Q_DISABLE_COPY(BDFfont)

    struct Reading {
        qint64 budget = bitmapBudget;
        QSet<QString> rows; // every distinct row kept so far
        bool cut = false;
    };
    void readGlyph(QTextStream& stream, int encoding, Reading* reading);

    QMap<int, BDFchar*> glyphs;
    int boxX = 0;
    int boxY = 0;
    int boxWidth = 0;
    int boxHeight = 0;
};

#endif
