#ifndef AUTOSAVEFILE_H
#define AUTOSAVEFILE_H

#include <QImage>
#include <QList>
#include <QSize>
#include <QString>

class Design;

// What a restore needs of one design, in one PNG that is replaced whole or not at all: the
// pictures side by side by picture index, with their bytes as they lie in memory so that they
// come back exactly, and in its text entries the product, the slot order, the ticks, the
// picture being edited and the file the design belongs to.
class AutosaveFile {
public:
    explicit AutosaveFile(const QString& path);

    bool write(const Design& design, const QString& product, QSize grid);
    bool read();
    // Whether it was written for a design of this product.
    bool isFor(const QString& product, QSize grid, int count) const;
    // Puts what was read into a design of the same count that has no history yet. The design
    // counts as modified until it is saved.
    void restore(Design* design) const;

    QString getPath() const { return path; }
    QString getFilePath() const { return filePath; }
    QString getDisplayName() const { return displayName; }
    // Why the last read or write failed; empty when the file was read but does not hold a
    // whole design.
    QString errorString() const { return error; }

    static constexpr int version = 1;

private:
    QString path;
    QString product;
    QSize grid;
    QString filePath;
    QString displayName;
    QList<QImage> pictures;
    QList<int> order;
    QList<bool> ticked;
    int current = 0;
    QString error;
};

#endif
