#include "windowmemory.h"

#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>

namespace {

// No zoom kept is beyond these, whatever the file says.
const double minZoom = 1.0 / 16;
const double maxZoom = 16;

QSettings windowSettings()
{
    return QSettings(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) +
                         "/window.ini",
                     QSettings::IniFormat);
}

// The frame shrunk to the area where it is larger, and moved into it.
QRect fitted(QRect frame, const QRect& area)
{
    frame.setSize(frame.size().boundedTo(area.size()));
    frame.moveLeft(qBound(area.left(), frame.left(), area.right() - frame.width() + 1));
    frame.moveTop(qBound(area.top(), frame.top(), area.bottom() - frame.height() + 1));
    return frame;
}

} // namespace

WindowMemory::WindowMemory()
{
    const QSettings settings = windowSettings();
    frame = settings.value("frame").toRect();
    maximized = settings.value("maximized").toBool();
    docks = settings.value("docks").toByteArray();
    bool number = false;
    zoom = settings.value("zoom").toDouble(&number);
    // Also what is no number at all.
    if (!(number && zoom >= minZoom && zoom <= maxZoom))
        zoom = 1;
}

void WindowMemory::remember(const QMainWindow& window, double zoom)
{
    QSettings settings = windowSettings();
    // A maximized window comes back maximized, and at its old size when it is made normal.
    const QRect outer = window.frameGeometry(), inner = window.geometry();
    const QMargins margins(inner.left() - outer.left(), inner.top() - outer.top(),
                           outer.right() - inner.right(), outer.bottom() - inner.bottom());
    settings.setValue("frame", window.normalGeometry().marginsAdded(margins));
    settings.setValue("maximized", window.isMaximized());
    settings.setValue("docks", window.saveState());
    settings.setValue("zoom", zoom);
}

QRect WindowMemory::place(QRect frame, QSize first)
{
    QScreen* screen = nullptr;
    qint64 most = 0;
    for (QScreen* each : QGuiApplication::screens()) {
        const QRect common = each->geometry() & frame;
        if (qint64(common.width()) * common.height() > most) {
            most = qint64(common.width()) * common.height();
            screen = each;
        }
    }
    if (!screen) {
        screen = QGuiApplication::primaryScreen();
        const QRect area = screen->availableGeometry();
        if (frame.isEmpty())
            frame.setSize(first.boundedTo(area.size() * 19 / 20));
        frame.moveCenter(area.center());
    }
    return fitted(frame, screen->availableGeometry());
}
