#include "bdffont.h"
#include "bdfchar.h"

#include <QFile>
#include <QStringList>
#include <QTextStream>
#include <QtNumeric>

#include <limits>
#include <memory>

namespace {

// Reads one line, cut after maxLineLength characters; the rest of a longer line is skipped
// rather than read as lines of its own.
bool readLine(QTextStream& stream, QString* line)
{
    const int maxLength = BDFfont::maxLineLength;
    if (!stream.readLineInto(line, maxLength))
        return false;
    if (line->size() == maxLength) {
        QString rest;
        while (stream.readLineInto(&rest, maxLength) && rest.size() == maxLength) {
        }
    }
    return true;
}

bool fitsInt(qint64 value)
{
    return value >= std::numeric_limits<int>::min() && value <= std::numeric_limits<int>::max();
}

} // namespace

BDFfont::BDFfont(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    QTextStream stream(&file);
    Reading reading;
    QString line;
    QString rest;
    while (readLine(stream, &line)) {
        if (checkTag(line, QStringLiteral("FONTBOUNDINGBOX "), &rest)) {
            const QStringList fields = rest.split(u' ');
            boxWidth = fields.value(0).toInt();
            boxHeight = fields.value(1).toInt();
            boxX = fields.value(2).toInt();
            boxY = fields.value(3).toInt();
        } else if (checkTag(line, QStringLiteral("ENCODING "), &rest)) {
            readGlyph(stream, rest.toInt(), &reading);
        }
    }
    if (reading.cut)
        qWarning("Rimglow: the font %s holds more bitmap data than a font may use (%lld MB); "
                 "some of its characters draw nothing",
                 qPrintable(path), bitmapBudget / (1024 * 1024));
}

BDFfont::~BDFfont()
{
    qDeleteAll(glyphs);
}

void BDFfont::readGlyph(QTextStream& stream, int encoding, Reading* reading)
{
    auto glyph = std::make_unique<BDFchar>();
    QString line;
    QString rest;
    while (readLine(stream, &line) && !line.startsWith(QLatin1String("ENDCHAR"))) {
        if (checkTag(line, QStringLiteral("DWIDTH "), &rest)) {
            glyph->setDWIDTH(rest);
        } else if (checkTag(line, QStringLiteral("BBX "), &rest)) {
            glyph->setBBX(rest);
        } else if (line.startsWith(QLatin1String("BITMAP"))) {
            while (readLine(stream, &line) && !line.startsWith(QLatin1String("ENDCHAR")))
                glyph->addData(line);
            break;
        }
    }
    // A file that ends inside a glyph still gives that glyph, as far as it goes.
    if (encoding < 0 || encoding > 0xFFFF)
        return;
    const qint64 cost = glyph->rowCost(reading->rows);
    if (cost <= reading->budget) {
        reading->budget -= cost;
        glyph->shareRows(&reading->rows);
    } else {
        glyph->dropRows();
        reading->cut = true;
    }
    delete glyphs.value(encoding);
    glyphs.insert(encoding, glyph.release());
}

bool BDFfont::checkTag(const QString& line, const QString& tag, QString* rest)
{
    if (!line.startsWith(tag))
        return false;
    *rest = line.mid(tag.size());
    return true;
}

QVector<QPoint> BDFfont::text(const QString& text, bool down) const
{
    QVector<QPoint> points;
    // The origin may wander past the int range on absurd advances and come back, so it moves
    // in 64 bits (the text would need billions of characters to overflow those).
    qint64 originX = 0;
    qint64 originY = 0;
    int minX = 0;
    int minY = 0;
    int maxY = 0;
    for (const QChar unit : text) {
        const BDFchar* glyph = glyphs.value(unit.unicode());
        if (!glyph)
            continue;
        for (const QPoint& p : glyph->data()) {
            const qint64 x = originX + p.x();
            const qint64 y = originY + p.y();
            if (!fitsInt(x) || !fitsInt(y))
                continue;
            points.append(QPoint(int(x), int(y)));
            minX = qMin(minX, int(x));
            minY = qMin(minY, int(y));
            maxY = qMax(maxY, int(y));
        }
        originX += glyph->nextOrignal().x();
        originY += glyph->nextOrignal().y();
    }
    qsizetype kept = 0;
    for (qsizetype i = 0; i < points.size(); ++i) {
        const QPoint q = points[i];
        int column;
        int row;
        const bool overflow =
            down ? qSubOverflow(minX, q.x(), &column) || qSubOverflow(q.y(), minY, &row)
                 : qSubOverflow(q.x(), minX, &column) || qSubOverflow(maxY, q.y(), &row);
        if (!overflow)
            points[kept++] = QPoint(column, row);
    }
    points.resize(kept);
    return points;
}
