#ifndef DESIGNFILE_H
#define DESIGNFILE_H

#include <QImage>
#include <QList>
#include <QString>

// A design file: one PNG with the pictures of the slots side by side, whatever the file's
// name. Reading takes squares as high as the picture, as many as the file and the design
// have; writing replaces the file only once the whole picture is written.
class DesignFile {
public:
    explicit DesignFile(const QString& path);

    // Reads at most count pictures.
    bool read(int count);
    QList<QImage> getPictures() const { return pictures; }
    // Writes the pictures, each cut to a square of the side.
    bool write(const QList<QImage>& inOrder, QSize square);
    // Why the last read or write failed, in the system's words.
    QString errorString() const { return error; }

private:
    QString path;
    QList<QImage> pictures;
    QString error;
};

#endif
