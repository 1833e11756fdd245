#ifndef FILEDIALOGANSWERER_H
#define FILEDIALOGANSWERER_H

#include <QObject>
#include <QStringList>
#include <QTimer>

// While it lives, answers every modal file dialog with the given paths in turn; an empty path,
// or a dialog beyond the list, is cancelled. Records the filter and folder each one offered.
class FileDialogAnswerer : public QObject {
public:
    explicit FileDialogAnswerer(const QStringList& paths);

    QStringList filters;
    QStringList folders;

private:
    void answer();

    QStringList paths;
    QTimer timer;
};

#endif
