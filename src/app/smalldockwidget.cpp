#include "smalldockwidget.h"

#include <QMainWindow>
#include <QPushButton>

SmallDockWidget::SmallDockWidget(Qt::ToolBarArea area, QMainWindow* window)
    : QToolBar(window)
    , button(new QPushButton(this))
    , area(area)
{
    setFloatable(false);
    setMovable(false);
    hide();
    window->addToolBar(area, this);

    button->setFlat(true);
    addWidget(button);
    if (isVertical()) {
        setOrientation(Qt::Vertical);
        button->setFixedWidth(int(button->fontMetrics().lineSpacing() * 1.75));
    } else {
        setOrientation(Qt::Horizontal);
    }
    connect(button, &QPushButton::clicked, this, &SmallDockWidget::showDock);
}

void SmallDockWidget::setText(QString text)
{
    // Read out as the caption, not letter by letter.
    button->setAccessibleName(text);
    if (!isVertical()) {
        button->setText(text);
        return;
    }
    // Letters stand one below the other, so a narrow bar still reads the caption.
    QString downwards;
    for (const QChar c : text)
        downwards += QString(c) + "\n";
    button->setText(downwards);
}

void SmallDockWidget::showDock()
{
    close();
    emit toShowDock();
}

void SmallDockWidget::resizeEvent(QResizeEvent* event)
{
    QToolBar::resizeEvent(event);
    button->setGeometry(0, 0, width(), height());
}

bool SmallDockWidget::isVertical() const
{
    return area == Qt::LeftToolBarArea || area == Qt::RightToolBarArea;
}
