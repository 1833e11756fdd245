#ifndef BDFCHAR_H
#define BDFCHAR_H

#include <QPoint>
#include <QSet>
#include <QString>
#include <QVector>

// One glyph of a BDF font: its box, its advance and its bitmap as rows of '0' and '1', top row
// first.
//
// Any input is safe: missing or malformed numbers read as 0 and missing pixels as unlit. A glyph
// keeps at most maxRows rows of at most maxRowBits bits (longer hexadecimal rows are cut), far
// more than any glyph that fits on a wheel; data() reads only what is kept, whatever the box
// claims, and drops pixels whose position does not fit in an int.
class BDFchar {
public:
    static constexpr int maxRows = 1024;
    static constexpr int maxRowBits = 1024;

    BDFchar() = default;

    // The numbers after the keyword: width, height, x offset, y offset.
    void setBBX(const QString& numbers);
    // The numbers after the keyword: advance x, advance y.
    void setDWIDTH(const QString& numbers);
    // One bitmap line, a hexadecimal number; anything else gives an unlit row.
    void addData(const QString& row);

    // Bytes the rows would add to a font whose distinct rows are in pool.
    qint64 rowCost(const QSet<QString>& pool) const;
    // Makes rows equal to one in pool share its string, and adds the others to pool. A font's
    // glyphs repeat a small set of rows, so this keeps a large font small.
    void shareRows(QSet<QString>* pool);
    // Drops the bitmap: the glyph then draws nothing but still advances.
    void dropRows() { rows = QVector<QString>(); }

    // The lit pixels relative to the glyph origin, y upwards.
    QVector<QPoint> data() const;
    QPoint nextOrignal() const { return QPoint(advanceX, advanceY); }

private:
    int xOffset = 0;
    int yOffset = 0;
    int width = 0;
    int height = 0;
    int advanceX = 0;
    int advanceY = 0;
    QVector<QString> rows;
};

#endif
