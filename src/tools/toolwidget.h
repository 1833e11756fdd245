#ifndef TOOLWIDGET_H
#define TOOLWIDGET_H

#include "colorpanel.h"

#include <QImage>
#include <QKeySequence>
#include <QList>
#include <QMap>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QWidget>

class CellCursor;
class QAction;
class QGraphicsView;
class QGridLayout;
class Tool;
class ToolManager;
class WheelWeb;

// The tool palette: the import, text and fill commands, the colour panel, and one active tool
// per design view. A finished tool result leaves as changePixmap with the colour panel's mode
// and the tool's key, for the current design to apply as one undo step.
class ToolWidget : public QWidget {
    Q_OBJECT
public:
    ToolWidget(WheelWeb* web, int div);
    ~ToolWidget() override;

    void add(QGraphicsView* view);
    void remove(QGraphicsView* view);
    QMenu* getMenu() { return &menu; }
    ColorPanel* getColorPanel() { return &colorPanel; }
    Tool* currentTool() const;
    CellCursor* getCursor(QGraphicsView* view) const;
    // What takes the focus here: the command buttons and the swatch.
    QList<QWidget*> tabStops() { return buttons + QList<QWidget*>{&colorPanel}; }
    // For each frame (fitted to the wheel, as PictureReader delivers them) the picture that the
    // image tool would deliver on OK at its opening place with its first settings, in the
    // current tool's brush and division.
    QList<QImage> framePictures(const QList<QImage>& frames) const;

public slots:
    void changeTab(QGraphicsView* obj);
    void setDiv(int div);
    void import(QPixmap pix);
    void import();

signals:
    void changePixmap(QPixmap pix, QPainter::CompositionMode mode, QString text);
    // Picture files chosen for the IMPORT command.
    void toImport(QStringList paths);

private slots:
    void setPixmap(QPixmap pix);
    void setBrush(QBrush brush);
    void resetTool(Tool* tool = nullptr);
    void pen();
    void text();
    void fill();

private:
    // A command with its button (showing the key's picture, explained by tip) and its menu
    // entry (showing the text of the menu key) and keys.
    void addTool(const QString& key, const QString& menuKey, const QString& tip,
                 const QKeySequence& keys, const char* slot);
    QAction* addMenuEntry(const QString& key, const QKeySequence& keys);
    QStringList openImages();
    void connectTool(Tool* tool);

    QGraphicsView* currentView = nullptr;
    QMap<QGraphicsView*, ToolManager*> managers;
    QMenu menu;
    WheelWeb* web;
    ColorPanel colorPanel;
    int div;
    QGridLayout* layout;
    QString imageFilter;
    QString lastImagePath;
    QList<QWidget*> buttons;
    QList<QObject*> texted;
};

#endif
