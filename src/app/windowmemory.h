#ifndef WINDOWMEMORY_H
#define WINDOWMEMORY_H

#include <QByteArray>
#include <QRect>

class QMainWindow;

// Where the main window stood, how large it was, how its docks and toolbars lay and how far
// the design was zoomed: kept in the program's configuration folder for the next start.
class WindowMemory {
public:
    // What the last run left; an empty frame when it left nothing.
    WindowMemory();

    void remember(const QMainWindow& window, double zoom);

    QRect getFrame() const { return frame; }
    bool isMaximized() const { return maximized; }
    QByteArray getDocks() const { return docks; }
    double getZoom() const { return zoom; }

    // Where to show a window saved in a frame: on the screen that holds most of it, shrunk
    // and moved so that all of it is on that screen's available area; centred on the primary
    // screen when no screen holds any of it (a monitor gone); the first time, when the frame
    // is empty, at the size given where the screen has room for it.
    static QRect place(QRect frame, QSize first);

private:
    QRect frame;
    bool maximized = false;
    QByteArray docks;
    double zoom = 1;
};

#endif
