#ifndef PICTUREREADER_H
#define PICTUREREADER_H

#include <QImage>
#include <QList>
#include <QStringList>

// Reads picture files for import: the frames of each file in turn (every frame of an
// animation, the one picture of a still), each reduced to fit the wheel picture as the image
// tool first shows it. Frames beyond a limit are counted but not kept, so a long animation
// costs no more memory than the design has slots.
class PictureReader {
public:
    PictureReader(int side, int limit);

    // False when a file holds no picture that can be read; that file is then the failed path.
    bool read(const QStringList& paths);
    const QList<QImage>& getFrames() const { return frames; }
    // All frames found, kept or not.
    int getCount() const { return count; }
    QString getFailedPath() const { return failedPath; }

private:
    int side;
    int limit;
    QList<QImage> frames;
    int count = 0;
    QString failedPath;
};

#endif
