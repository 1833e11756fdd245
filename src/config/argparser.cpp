#include "argparser.h"

#include <QSet>

#include <cmath>
#include <unistd.h>

namespace {

// A decimal integer, as the options give them; anything else is not one.
bool toInteger(const QString& text, int* value)
{
    bool ok = false;
    *value = text.toInt(&ok, 10);
    if (!ok)
        *value = 0;
    return ok;
}

} // namespace

ArgParser::ArgParser(int argc, char** argv)
{
    parse(argc, argv);
    // Checked once the options are all read, so that the list is complete from here on.
    const QString absent = missing();
    if (!absent.isEmpty())
        problemList << absent;
}

// A problem ends the parse at once, all but an unknown letter; what was stored so far stays.
void ArgParser::parse(int argc, char** argv)
{
    // getopt keeps its position between calls; start every parse afresh.
#if defined(__GLIBC__)
    optind = 0;
#else
    optind = 1;
#if defined(__APPLE__) || defined(__FreeBSD__) || defined(__NetBSD__) || defined(__OpenBSD__)
    optreset = 1;
#endif
#endif
    int option;
    while ((option = getopt(argc, argv, "n:o:i:v:c:s:hd")) != -1) {
        const QString arg = optarg ? QString::fromLocal8Bit(optarg) : QString();
        switch (option) {
        case 'n':
            name += arg;
            if (name.isEmpty()) {
                problemList << "unknow name";
                return;
            }
            break;
        case 's':
            if (!parseSize(arg))
                return;
            break;
        case 'o':
            if (!parseRadius(arg, &outerSize, "unknow outter"))
                return;
            break;
        case 'i':
            if (!parseRadius(arg, &innerSize, "unknow inner"))
                return;
            break;
        case 'v':
            if (!parseIds(arg))
                return;
            break;
        case 'c':
            if (!parseColors(arg))
                return;
            break;
        case 'h':
            hall = true;
            break;
        default:
            // -d and every letter getopt does not know ('?').
            problemList << "unknow argument" + QString(QChar(option));
            break;
        }
    }
    // getopt has moved the operands behind the options.
    for (int i = optind; i < argc; ++i)
        designs << QString::fromLocal8Bit(argv[i]);
}

bool ArgParser::parseSize(const QString& arg)
{
    const QStringList parts = arg.split("x", Qt::KeepEmptyParts);
    if (parts.size() != 2) {
        problemList << "unknow size format" + arg;
        return false;
    }
    int angles, rings;
    toInteger(parts[0], &angles);
    toInteger(parts[1], &rings);
    if (angles > 0 && rings > 0 && qint64(angles) * rings > maxCells) {
        problemList << "unknow size" + arg;
        return false;
    }
    lines = angles;
    leds = rings;
    if (lines <= 0 || leds <= 0) {
        problemList << "unknow size" + arg;
        return false;
    }
    return true;
}

bool ArgParser::parseRadius(const QString& arg, double* size, const QString& message)
{
    if (arg.isEmpty()) {
        problemList << message;
        return false;
    }
    int value;
    const bool ok = toInteger(arg, &value);
    *size = value;
    if (!ok) {
        problemList << message + arg;
        return false;
    }
    return true;
}

bool ArgParser::parseIds(const QString& arg)
{
    QList<QPair<QString, int>> entries;
    bool ok = true;
    for (const QString& element : arg.split("+", Qt::KeepEmptyParts)) {
        const QStringList parts = element.split("x", Qt::KeepEmptyParts);
        if (parts.size() != 2) {
            problemList << "unknow id format" + element;
            ok = false;
            break;
        }
        if (parts[0].isEmpty()) {
            problemList << "unknow id" + parts[0] + "of" + element;
            ok = false;
            break;
        }
        int count;
        if (!toInteger(parts[1], &count) || count == 0) {
            problemList << "unknow id" + parts[1] + "of" + element;
            ok = false;
            break;
        }
        // A store request names its slot in one byte, and every slot costs a whole picture:
        // such a count is refused along with the whole option.
        if (count > maxPictures) {
            problemList << "unknow id" + parts[1] + "of" + element;
            return false;
        }
        entries.append({parts[0], count});
    }
    for (const auto& entry : entries)
        ids.insert(entry.first, entry.second);
    return ok;
}

bool ArgParser::parseColors(const QString& arg)
{
    if (lines < 1 || leds < 1) {
        problemList << "unknow color : must define size before";
        return false;
    }
    if (outerSize == 0) {
        problemList << "unknow color : must define outter size before";
        return false;
    }
    if (innerSize == 0) {
        problemList << "unknow color : must define inner size before";
        return false;
    }
    const QStringList texts = arg.split("+", Qt::KeepEmptyParts);
    // Every package costs a preview picture in the window; an absurd number is refused.
    QSet<QString> known(packages.keyBegin(), packages.keyEnd());
    for (const QString& text : texts) {
        known.insert(text);
        if (known.size() > maxPackages) {
            problemList << "unknow color " + text + " of " + arg;
            return false;
        }
    }
    for (const QString& text : texts) {
        const QList<QColor> colors = convertColor(text);
        if (colors.isEmpty())
            return false;
        // One colour fills the disc and three share it in sectors; any other number lies in
        // bands, equally wide in LEDs.
        const int n = colors.size();
        if (n != 1 && n != 3 && leds % n != 0) {
            problemList << "color size most equal " + QString::number(leds) + " : " + text;
            return false;
        }
        packages.insert(text, colors);
    }
    return true;
}

double ArgParser::getX(int k) const
{
    const double size = iconSize;
    if (leds < 2)
        return size;
    const double d = (outerSize - innerSize) / (leds - 1) / 2;
    const double x = k * d * size / (outerSize + d);
    // Absurd radii (of opposite signs, or nearly cancelling out) must still give a coordinate
    // a painter and an int can hold.
    if (!std::isfinite(x))
        return size;
    return qBound(-4 * size, size - x, 5 * size);
}

int ArgParser::mostPictures() const
{
    int most = 0;
    for (int pictures : ids)
        most = qMax(most, pictures);
    return most;
}

QList<QColor> ArgParser::convertColor(const QString& text)
{
    QList<QColor> colors;
    for (const QString& part : text.split("x", Qt::KeepEmptyParts)) {
        // Qt also reads eight hexadecimal digits (#AARRGGBB), which a product description
        // does not allow: only 3, 6, 9 or 12.
        const bool alphaForm = part.startsWith('#') && part.size() == 9;
        if (alphaForm || !QColor::isValidColorName(part)) {
            problemList << "unknow color " + part + " of " + text;
            return {};
        }
        colors.append(QColor::fromString(part));
    }
    return colors;
}

QString ArgParser::missing() const
{
    if (name.isEmpty())
        return "undefine name";
    if (lines < 1 || leds < 1)
        return "undefine size";
    if (ids.isEmpty())
        return "undefine id";
    if (packages.isEmpty())
        return "undefine color";
    if (outerSize == 0)
        return "undefine outter size";
    if (innerSize == 0)
        return "undefine inner size";
    return {};
}
