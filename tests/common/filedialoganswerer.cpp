#include "filedialoganswerer.h"

#include <QApplication>
#include <QFileDialog>

FileDialogAnswerer::FileDialogAnswerer(const QStringList& paths)
    : paths(paths)
{
    connect(&timer, &QTimer::timeout, this, &FileDialogAnswerer::answer);
    timer.start(5);
}

void FileDialogAnswerer::answer()
{
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (!dialog || !dialog->isVisible() || dialog->property("answered").toBool())
        return;
    dialog->setProperty("answered", true);
    filters << dialog->nameFilters().join(";;");
    folders << dialog->directory().absolutePath();
    const QString path = paths.isEmpty() ? QString() : paths.takeFirst();
    if (path.isEmpty()) {
        dialog->reject();
        return;
    }
    dialog->selectFile(path);
    static_cast<QDialog*>(dialog)->accept(); // public as a QDialog slot
}
