#ifndef DOCKWIDGET_H
#define DOCKWIDGET_H

#include <QDockWidget>

class QMainWindow;
class SmallDockWidget;

// A dock panel that, once closed, leaves a slim bar at its edge of the window from which it
// can be brought back, so a closed panel is never lost.
class DockWidget : public QDockWidget {
    Q_OBJECT
    Q_PROPERTY(QString text READ windowTitle WRITE setText)
public:
    DockWidget(Qt::DockWidgetArea area, QMainWindow* window);

    void setText(QString text);
    SmallDockWidget* getSmallDock() const { return smallDock; }

signals:
    void toClose();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    SmallDockWidget* smallDock;
};

#endif
