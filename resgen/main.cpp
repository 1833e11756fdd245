// Renders the program's SVG artwork into the pictures of its resource directory: the icon
// table (one 48 x 48 cell per key, with the text entries the program reads) and the splash;
// and the application icon of the Windows build.

#include <QBuffer>
#include <QDataStream>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QSaveFile>
#include <QSvgRenderer>
#include <QTextStream>

#include <cstdio>

namespace {

const int cellSize = 48;

bool fail(const QString& message)
{
    std::fprintf(stderr, "rimglow-resgen: %s\n", qPrintable(message));
    return false;
}

bool render(const QString& path, QPainter* painter, const QRectF& target)
{
    QSvgRenderer renderer(path);
    if (!renderer.isValid())
        return fail("cannot render " + path);
    renderer.render(painter, target);
    return true;
}

bool save(const QImage& image, const QString& path, const QMap<QString, QString>& texts = {})
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail("cannot write " + path);
    QImageWriter writer(&file, "png");
    for (auto it = texts.cbegin(); it != texts.cend(); ++it)
        writer.setText(it.key(), it.value());
    if (!writer.write(image) || !file.commit())
        return fail("cannot write " + path);
    return true;
}

QString svgName(const QString& key)
{
    return key.toLower().replace(' ', '_') + ".svg";
}

bool icons(const QString& listPath, const QString& folder, const QString& out)
{
    QFile list(listPath);
    if (!list.open(QIODevice::ReadOnly | QIODevice::Text))
        return fail("cannot read " + listPath);
    QStringList keys;
    QTextStream stream(&list);
    while (!stream.atEnd()) {
        const QString key = stream.readLine().trimmed();
        if (!key.isEmpty())
            keys << key;
    }
    if (keys.isEmpty())
        return fail(listPath + " names no icon");

    QImage table(keys.size() * cellSize, cellSize, QImage::Format_ARGB32);
    table.fill(Qt::transparent);
    QPainter painter(&table);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int k = 0; k < keys.size(); ++k) {
        if (!render(folder + "/" + svgName(keys[k]), &painter,
                    QRectF(k * cellSize, 0, cellSize, cellSize)))
            return false;
    }
    painter.end();
    return save(table, out,
                {{"editor", "velmo"}, {"icontype", "Classic"}, {"iconkey", keys.join('|')}});
}

QImage rendered(QSvgRenderer& renderer, int width)
{
    const QSize size(width,
                     width * renderer.defaultSize().height() / renderer.defaultSize().width());
    QImage image(size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
    return image;
}

bool picture(const QString& svg, int width, const QString& out)
{
    QSvgRenderer renderer(svg);
    if (!renderer.isValid() || width < 1 || renderer.defaultSize().isEmpty())
        return fail("cannot render " + svg);
    return save(rendered(renderer, width), out);
}

// A Windows icon file of square PNG pictures, one for each size that Explorer, the task bar
// and the Start menu ask for (an entry's size byte 0 means 256).
bool windowsIcon(const QString& svg, const QString& out)
{
    QSvgRenderer renderer(svg);
    if (!renderer.isValid() || renderer.defaultSize().isEmpty())
        return fail("cannot render " + svg);
    const QList<int> sizes{16, 24, 32, 48, 64, 128, 256};
    QList<QByteArray> pngs;
    for (int size : sizes) {
        QBuffer png;
        png.open(QIODevice::WriteOnly);
        rendered(renderer, size).save(&png, "png");
        pngs << png.data();
    }
    QByteArray icon;
    QDataStream stream(&icon, QIODevice::WriteOnly);
    stream.setByteOrder(QDataStream::LittleEndian);
    stream << quint16(0) << quint16(1) << quint16(sizes.size());
    quint32 offset = quint32(6 + 16 * sizes.size());
    for (int i = 0; i < sizes.size(); ++i) {
        stream << quint8(sizes[i]) << quint8(sizes[i]) << quint8(0) << quint8(0) << quint16(1)
               << quint16(32) << quint32(pngs[i].size()) << offset;
        offset += quint32(pngs[i].size());
    }
    for (const QByteArray& png : pngs)
        stream.writeRawData(png.constData(), int(png.size()));
    QSaveFile file(out);
    if (!file.open(QIODevice::WriteOnly) || file.write(icon) != icon.size() || !file.commit())
        return fail("cannot write " + out);
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const QStringList args = application.arguments();
    if (args.size() == 5 && args[1] == "icons")
        return icons(args[2], args[3], args[4]) ? 0 : 1;
    if (args.size() == 5 && args[1] == "picture")
        return picture(args[2], args[3].toInt(), args[4]) ? 0 : 1;
    if (args.size() == 4 && args[1] == "winicon")
        return windowsIcon(args[2], args[3]) ? 0 : 1;
    std::fprintf(stderr, "usage: rimglow-resgen icons LIST SVG-FOLDER OUT.png\n"
                         "       rimglow-resgen picture IN.svg WIDTH OUT.png\n"
                         "       rimglow-resgen winicon IN.svg OUT.ico\n");
    return 2;
}
