#ifndef HIDDENFILE_H
#define HIDDENFILE_H

#include <QString>

// The small state files kept between runs (chosen language, hall angle, declined update).
// The file for a name is the name with a dot in front, in the name's folder.
class HiddenFile {
public:
    static QString getFileName(QString const& name);
    static bool exists(QString const& name);
    static QString read(QString const& name);
    static bool write(QString const& name, QString const& text);
};

#endif
