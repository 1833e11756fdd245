#include "picturereader.h"

#include "imageconverter.h"

#include <QImageReader>

PictureReader::PictureReader(int side, int limit)
    : side(side)
    , limit(limit)
{
}

bool PictureReader::read(const QStringList& paths)
{
    for (const QString& path : paths) {
        QImageReader reader(path);
        // Formats without animations count no images, or one.
        const int images = qMax(reader.imageCount(), 1);
        int found = 0;
        QImage frame;
        while (found < images && reader.read(&frame)) {
            ++found;
            if (frames.size() < limit)
                frames << ImageConverter::fitted(frame, side);
        }
        // Pictures beyond the reader's allocation limit fail here like broken ones.
        if (found == 0) {
            failedPath = path;
            return false;
        }
        count += found;
    }
    return true;
}
