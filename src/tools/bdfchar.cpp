#include "bdfchar.h"

#include <QStringList>
#include <QtNumeric>

namespace {

int hexValue(QChar digit)
{
    const char16_t c = digit.unicode();
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    return -1;
}

bool isHexNumber(const QString& text)
{
    if (text.isEmpty())
        return false;
    for (const QChar digit : text)
        if (hexValue(digit) < 0)
            return false;
    return true;
}

} // namespace

void BDFchar::setBBX(const QString& numbers)
{
    // Split at every single blank: two blanks in a row make an empty field, which reads as 0.
    const QStringList fields = numbers.split(u' ');
    width = fields.value(0).toInt();
    height = fields.value(1).toInt();
    xOffset = fields.value(2).toInt();
    yOffset = fields.value(3).toInt();
}

void BDFchar::setDWIDTH(const QString& numbers)
{
    const QStringList fields = numbers.split(u' ');
    advanceX = fields.value(0).toInt();
    advanceY = fields.value(1).toInt();
}

void BDFchar::addData(const QString& row)
{
    if (rows.size() >= maxRows)
        return;
    // Four bits per digit, so the fill bits that pad a row to whole bytes come out as trailing
    // '0' and are never read.
    const qsizetype bits = qMin<qsizetype>(4 * row.size(), maxRowBits);
    if (!isHexNumber(row)) {
        rows.append(QString(bits, u'0'));
        return;
    }
    QString line;
    line.reserve(bits);
    for (qsizetype i = 0; i < bits / 4; ++i) {
        const int value = hexValue(row[i]);
        for (int bit = 3; bit >= 0; --bit)
            line.append((value >> bit & 1) ? u'1' : u'0');
    }
    rows.append(line);
}

qint64 BDFchar::rowCost(const QSet<QString>& pool) const
{
    // A row's slot, plus for a new row its characters, string header and set entry.
    constexpr qint64 newRowUpkeep = 96;
    qint64 cost = qint64(rows.size()) * qint64(sizeof(QString));
    QSet<QString> seen;
    for (const QString& row : rows)
        if (!pool.contains(row) && !seen.contains(row)) {
            seen.insert(row);
            cost += 2 * row.size() + newRowUpkeep;
        }
    return cost;
}

void BDFchar::shareRows(QSet<QString>* pool)
{
    rows.squeeze();
    for (QString& row : rows) {
        const auto shared = pool->constFind(row);
        if (shared != pool->cend())
            row = *shared;
        else
            pool->insert(row);
    }
}

QVector<QPoint> BDFchar::data() const
{
    QVector<QPoint> points;
    const int shownRows = int(qMin<qsizetype>(qMax(height, 0), rows.size()));
    for (int r = 0; r < shownRows; ++r) {
        const QString& row = rows[r];
        int y;
        if (qAddOverflow(height - 1 - r, yOffset, &y))
            continue;
        const int shownColumns = int(qMin<qsizetype>(qMax(width, 0), row.size()));
        for (int c = 0; c < shownColumns; ++c) {
            int x;
            if (row[c] == u'1' && !qAddOverflow(c, xOffset, &x))
                points.append(QPoint(x, y));
        }
    }
    return points;
}
