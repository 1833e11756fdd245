#include "designfile.h"

#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QSaveFile>

DesignFile::DesignFile(const QString& path)
    : path(path)
{
}

bool DesignFile::read(int count)
{
    pictures.clear();
    QImageReader reader(path, "png");
    QImage image;
    // The reader refuses pictures beyond its allocation limit before decoding them.
    if (!reader.read(&image)) {
        error = reader.errorString();
        return false;
    }
    // A picture read is never empty.
    const int side = image.height();
    const int n = qMin(count, image.width() / side);
    for (int i = 0; i < n; ++i) {
        QImage picture(side, side, QImage::Format_ARGB32_Premultiplied);
        picture.fill(Qt::transparent);
        QPainter painter(&picture);
        painter.drawImage(-i * side, 0, image);
        painter.end();
        pictures.append(picture);
    }
    return true;
}

bool DesignFile::write(const QList<QImage>& inOrder, QSize square)
{
    const int w = square.width();
    const int h = square.height();
    QImage image(int(inOrder.size()) * w, h, QImage::Format_ARGB32);
    image.fill(0);
    QPainter painter(&image);
    // A picture loaded from a file of another height is larger than its square; what lies
    // beyond the square must not spill into the next slot's.
    for (int row = 0; row < inOrder.size(); ++row)
        painter.drawImage(QPoint(row * w, 0), inOrder[row], QRect(0, 0, w, h));
    painter.end();

    // Written beside the old file and put in its place only when complete, so a failed save
    // leaves the previous design intact.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        error = file.errorString();
        return false;
    }
    QImageWriter writer(&file, "png");
    // Qt's commit does not notice when its own last write fails (a full disk), so the data
    // is flushed first.
    if (!writer.write(image) || !file.flush() || !file.commit()) {
        // The file's own reason (a full disk, no permission) says more than the writer's.
        error = file.error() != QFileDevice::NoError ? file.errorString() : writer.errorString();
        return false;
    }
    return true;
}
