#include "dockwidget.h"

#include "smalldockwidget.h"

#include <QMainWindow>
#include <QStyle>

namespace {

Qt::ToolBarArea toolBarArea(Qt::DockWidgetArea area)
{
    switch (area) {
    case Qt::LeftDockWidgetArea:
        return Qt::LeftToolBarArea;
    case Qt::RightDockWidgetArea:
        return Qt::RightToolBarArea;
    case Qt::TopDockWidgetArea:
        return Qt::TopToolBarArea;
    case Qt::BottomDockWidgetArea:
        return Qt::BottomToolBarArea;
    case Qt::AllDockWidgetAreas:
        return Qt::AllToolBarAreas;
    default:
        return Qt::NoToolBarArea;
    }
}

} // namespace

DockWidget::DockWidget(Qt::DockWidgetArea area, QMainWindow* window)
    : QDockWidget(window)
    , smallDock(new SmallDockWidget(toolBarArea(area), window))
{
    setAllowedAreas(area);
    setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetFloatable);
    window->addDockWidget(area, this);

    connect(this, &DockWidget::toClose, smallDock, &QWidget::show);
    connect(smallDock, &SmallDockWidget::toShowDock, this, &QWidget::show);
}

void DockWidget::setText(QString text)
{
    setWindowTitle(text);
    smallDock->setText(text);
    // Narrow contents (the tool buttons) would otherwise cut a longer title short in some
    // languages; the title bar also holds the float and close buttons.
    const int button = style()->pixelMetric(QStyle::PM_SmallIconSize) +
                       2 * style()->pixelMetric(QStyle::PM_DockWidgetTitleBarButtonMargin);
    setMinimumWidth(fontMetrics().horizontalAdvance(text) + 2 * button +
                    4 * style()->pixelMetric(QStyle::PM_DockWidgetTitleMargin));
}

void DockWidget::closeEvent(QCloseEvent* event)
{
    emit toClose();
    QDockWidget::closeEvent(event);
}
