#include "fontcache.h"

#include "bdffont.h"

#include <QFileInfo>

FontCache& FontCache::shared()
{
    static FontCache cache;
    return cache;
}

std::shared_ptr<const BDFfont> FontCache::font(const QString& path)
{
    const QFileInfo file(path);
    if (!file.exists())
        return nullptr;
    Entry& entry = entries[path];
    if (!entry.font || entry.size != file.size() || entry.modified != file.lastModified()) {
        // The size and time are those from before the reading: a file changed meanwhile is
        // read again next time.
        entry.size = file.size();
        entry.modified = file.lastModified();
        entry.font = std::make_shared<const BDFfont>(path);
    }
    return entry.font;
}

void FontCache::keepOnly(const QStringList& paths)
{
    for (auto it = entries.begin(); it != entries.end();)
        it = paths.contains(it.key()) ? std::next(it) : entries.erase(it);
}
