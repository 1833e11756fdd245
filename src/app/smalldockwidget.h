#ifndef SMALLDOCKWIDGET_H
#define SMALLDOCKWIDGET_H

#include <QToolBar>

class QMainWindow;
class QPushButton;

// The slim bar a closed dock panel leaves at the window's edge: one flat button with the
// panel's caption that brings the panel back.
class SmallDockWidget : public QToolBar {
    Q_OBJECT
public:
    SmallDockWidget(Qt::ToolBarArea area, QMainWindow* window);

    void setText(QString text);
    QPushButton* getButton() const { return button; }

public slots:
    void showDock();

signals:
    void toShowDock();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    bool isVertical() const;

    QPushButton* button;
    Qt::ToolBarArea area;
};

#endif
