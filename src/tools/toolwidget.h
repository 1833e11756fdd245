#ifndef TOOLWIDGET_H
#define TOOLWIDGET_H

#include "colorpanel.h"
#include "selecttool.h"

#include <QImage>
#include <QKeySequence>
#include <QList>
#include <QMap>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QWidget>

#include <functional>

class CellCursor;
class Design;
class QAction;
class QActionGroup;
class QButtonGroup;
class QGraphicsView;
class QGridLayout;
class Tool;
class ToolManager;
class WheelWeb;

// The tool palette: the drawing tools (pen, line, sector, selection), the import, text and
// fill commands, the colour panel, and one active tool per design view. The chosen drawing tool
// stays chosen: a finished one is followed by a fresh one of its kind. A finished tool result
// leaves as changePixmap with the colour panel's mode and the tool's key, for the current
// design to apply as one undo step.
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
    // The selection tool of the current view while it has cells selected.
    SelectTool* selection() const;
    // Floats the cells over the current picture in the selection tool.
    void paste(const CellClip& clip);
    // Moves the selected cells, or else every cell of the current picture, as one step.
    void transform(const std::function<int(int)>& move, const QString& key);

public slots:
    void changeTab(QGraphicsView* obj);
    void setDiv(int div);
    void import(QPixmap pix);
    void import();
    void selectAll();

signals:
    void changePixmap(QPixmap pix, QPainter::CompositionMode mode, QString text);
    // Picture files chosen for the IMPORT command.
    void toImport(QStringList paths);

private slots:
    void setPixmap(QPixmap pix);
    void setBrush(QBrush brush);
    void resetTool(Tool* tool = nullptr);
    void pen();
    void line();
    void sector();
    void select();
    void text();
    void fill();

private:
    // A command with its button (showing the key's picture, explained by tip) and its menu
    // entry (showing the text of the menu key) and keys.
    QAction* addTool(const QString& key, const QString& menuKey, const QString& tip,
                     const QKeySequence& keys, const char* slot);
    // A drawing tool: chosen, it stays chosen and shows so.
    void addDrawingTool(const QString& key, const QKeySequence& keys, const char* slot);
    // Makes tools of a kind the chosen ones, beginning with a fresh one.
    void choose(const QString& key, std::function<Tool*(Tool*)> make);
    Design* currentDesign() const;
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
    QActionGroup* drawingActions;
    QButtonGroup* drawingButtons;
    std::function<Tool*(Tool*)> makeChosen;
};

#endif
