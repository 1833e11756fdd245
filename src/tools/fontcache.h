#ifndef FONTCACHE_H
#define FONTCACHE_H

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>

#include <memory>

class BDFfont;

// The bitmap fonts read so far, by file path, so that every text tool of a run reuses them.
// A font is read again once its file's size or modification time differs from when it was
// read. A file that cannot be read gives an empty font, kept like any other: an unchanged bad
// file is not read again.
class FontCache {
public:
    // The cache the text tools share.
    static FontCache& shared();

    // The font in the file at path, read now if need be; none when the file is gone.
    std::shared_ptr<const BDFfont> font(const QString& path);
    // Forgets the fonts of all other files: those that left the font folder.
    void keepOnly(const QStringList& paths);

private:
    struct Entry {
        qint64 size = 0;
        QDateTime modified;
        std::shared_ptr<const BDFfont> font;
    };
    QHash<QString, Entry> entries;
};

#endif
