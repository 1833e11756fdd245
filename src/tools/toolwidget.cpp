#include "toolwidget.h"

#include "cellcursor.h"
#include "imagetool.h"
#include "linetool.h"
#include "model/design.h"
#include "model/wheelpanel.h"
#include "model/wheelweb.h"
#include "pentool.h"
#include "resources/resource.h"
#include "sectortool.h"
#include "texttool.h"
#include "toolmanager.h"

#include <QAction>
#include <QActionGroup>
#include <QButtonGroup>
#include <QFileDialog>
#include <QGraphicsView>
#include <QGridLayout>
#include <QImageReader>
#include <QScrollArea>
#include <QStandardPaths>
#include <QToolButton>

ToolWidget::ToolWidget(WheelWeb* web, int div)
    : web(web)
    , div(div)
    , lastImagePath(QStandardPaths::writableLocation(QStandardPaths::PicturesLocation))
    , drawingActions(new QActionGroup(this))
    , drawingButtons(new QButtonGroup(this))
    , makeChosen([](Tool* other) { return new PenTool(other); })
{
    Resource::addText(&menu, "title", "TOOL_MENU");
    texted << &menu;
    layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    // The tool pictures are dark drawings: they keep a light ground in a dark theme too.
    QPalette light = palette();
    light.setColor(QPalette::Window, QColor(240, 240, 240));
    light.setColor(QPalette::WindowText, Qt::black);
    light.setColor(QPalette::ButtonText, Qt::black);
    setPalette(light);
    setAutoFillBackground(true);

    addDrawingTool("PEN", Qt::Key_P, SLOT(pen()));
    addDrawingTool("LINE", Qt::Key_L, SLOT(line()));
    addDrawingTool("SECTOR", Qt::Key_R, SLOT(sector()));
    addDrawingTool("SELECTION", Qt::Key_S, SLOT(select()));
    drawingActions->actions().first()->setChecked(true);
    addTool("IMPORT", "MENU_IMPORT", "IMPORT_TIP", Qt::Key_I, SLOT(import()));
    addTool("TEXT", "MENU_TEXT", "TEXT_TIP", Qt::Key_T, SLOT(text()));
    addTool("FILL", "MENU_FILL", "FILL_TIP", Qt::Key_F, SLOT(fill()));
    menu.addSeparator();
    // Erasing is the colour panel's second colour.
    QAction* erase = addMenuEntry("ERASE", Qt::Key_E);
    erase->setCheckable(true);
    connect(erase, &QAction::triggered, &colorPanel, &ColorPanel::swap);
    connect(&colorPanel, &ColorPanel::brushChange, erase, [this, erase] {
        erase->setChecked(colorPanel.getMode() == QPainter::CompositionMode_DestinationOut);
    });

    colorPanel.setMinimumHeight(64);
    layout->addWidget(&colorPanel, (buttons.size() + 1) / 2, 0, 1, 2);
    connect(&colorPanel, &ColorPanel::brushChange, this, &ToolWidget::setBrush);

    auto* filler = new QScrollArea;
    filler->setFrameShape(QFrame::NoFrame);
    filler->setMaximumWidth(1);
    // Room, not a control.
    filler->setFocusPolicy(Qt::NoFocus);
    static_cast<QLayout*>(layout)->addWidget(filler);

    for (const QByteArray& format : QImageReader::supportedImageFormats())
        imageFilter += " *." + QString::fromLatin1(format);
}

ToolWidget::~ToolWidget()
{
    qDeleteAll(managers);
    for (QObject* object : texted)
        Resource::remove(object);
}

QAction* ToolWidget::addMenuEntry(const QString& key, const QKeySequence& keys)
{
    QAction* action = menu.addAction(key);
    Resource::addText(action, "text", key);
    action->setShortcut(keys);
    texted << action;
    return action;
}

void ToolWidget::addDrawingTool(const QString& key, const QKeySequence& keys, const char* slot)
{
    QAction* action = addTool(key, "MENU_" + key, key + "_TIP", keys, slot);
    action->setCheckable(true);
    action->setData(key);
    drawingActions->addAction(action);
    auto* button = static_cast<QToolButton*>(buttons.last());
    button->setCheckable(true);
    drawingButtons->addButton(button);
    // Either shows the other's state.
    connect(action, &QAction::toggled, button, &QToolButton::setChecked);
    connect(button, &QToolButton::toggled, action, &QAction::setChecked);
}

QAction* ToolWidget::addTool(const QString& key, const QString& menuKey, const QString& tip,
                             const QKeySequence& keys, const char* slot)
{
    // The button's text is not shown; the menu's text carries the mnemonic.
    QAction* action = addMenuEntry(menuKey, keys);
    connect(action, SIGNAL(triggered()), this, slot);
    action->setIcon(QIcon(":/tools/" + key.toLower() + ".svg"));
    auto* button = new QToolButton;
    button->setAutoRaise(true);
    // Flat, but a keyboard user still sees where the focus is.
    button->setStyleSheet("QToolButton{border:none}"
                          "QToolButton:checked{background:#cddff5;border-radius:4px}"
                          "QToolButton:focus{border:2px solid palette(highlight)}");
    button->setIconSize(QSize(32, 32));
    // Its text is not shown, but is its name for a screen reader.
    Resource::addText(button, "text", key);
    Resource::addText(button, "toolTip", tip);
    // Drawn from the SVG at the button's size in device pixels, so sharp on any screen.
    button->setIcon(QIcon(":/tools/" + key.toLower() + ".svg"));
    connect(button, SIGNAL(clicked(bool)), this, slot);
    layout->addWidget(button, int(buttons.size()) / 2, int(buttons.size()) % 2);
    buttons << button;
    texted << button;
    return action;
}

Tool* ToolWidget::currentTool() const
{
    ToolManager* manager = managers.value(currentView);
    return manager ? manager->getTool() : nullptr;
}

CellCursor* ToolWidget::getCursor(QGraphicsView* view) const
{
    ToolManager* manager = managers.value(view);
    return manager ? manager->getCursor() : nullptr;
}

void ToolWidget::connectTool(Tool* tool)
{
    connect(tool, &Tool::end, this, [this] { resetTool(); });
    connect(tool, &Tool::upDate, this, &ToolWidget::setPixmap);
}

void ToolWidget::add(QGraphicsView* view)
{
    // A new view starts with the chosen drawing tool, made like every tool from another one.
    PenTool first(web, view, colorPanel.getBrush(), div);
    Tool* tool = makeChosen(&first);
    delete managers.value(view);
    managers.insert(view, new ToolManager(tool, *web, view));
    connectTool(tool);
}

void ToolWidget::remove(QGraphicsView* view)
{
    delete managers.take(view);
}

void ToolWidget::changeTab(QGraphicsView* obj)
{
    currentView = obj;
}

void ToolWidget::setDiv(int newDiv)
{
    div = newDiv;
    if (Tool* tool = currentTool()) {
        tool->setDiv(newDiv);
        tool->update();
        getCursor(currentView)->update();
    }
}

void ToolWidget::setBrush(QBrush brush)
{
    if (Tool* tool = currentTool()) {
        tool->setBrush(brush);
        tool->update();
    }
}

void ToolWidget::import(QPixmap pix)
{
    if (currentTool() && !pix.isNull())
        resetTool(new ImageTool(currentTool(), pix));
}

void ToolWidget::import()
{
    const QStringList paths = openImages();
    if (!paths.isEmpty())
        emit toImport(paths);
}

QList<QImage> ToolWidget::framePictures(const QList<QImage>& frames) const
{
    QList<QImage> pictures;
    if (Tool* tool = currentTool())
        for (const QImage& frame : frames)
            pictures << tool->cellPainter().paintPicture(frame);
    return pictures;
}

void ToolWidget::choose(const QString& key, std::function<Tool*(Tool*)> make)
{
    makeChosen = std::move(make);
    for (QAction* action : drawingActions->actions())
        if (action->data() == key)
            action->setChecked(true);
    if (currentTool())
        resetTool();
}

Design* ToolWidget::currentDesign() const
{
    auto* panel = qobject_cast<WheelPanel*>(currentView);
    return panel ? panel->getDesign() : nullptr;
}

void ToolWidget::pen()
{
    choose("PEN", [](Tool* other) { return new PenTool(other); });
}

void ToolWidget::line()
{
    choose("LINE", [](Tool* other) { return new LineTool(other); });
}

void ToolWidget::sector()
{
    choose("SECTOR", [](Tool* other) { return new SectorTool(other); });
}

void ToolWidget::select()
{
    choose("SELECTION", [](Tool* other) {
        return new SelectTool(other, qobject_cast<WheelPanel*>(other->getView())->getDesign());
    });
}

void ToolWidget::selectAll()
{
    if (!currentTool())
        return;
    if (!qobject_cast<SelectTool*>(currentTool()))
        select();
    qobject_cast<SelectTool*>(currentTool())->selectAll();
}

SelectTool* ToolWidget::selection() const
{
    auto* tool = qobject_cast<SelectTool*>(currentTool());
    return tool && tool->hasSelection() ? tool : nullptr;
}

void ToolWidget::paste(const CellClip& clip)
{
    if (!currentTool())
        return;
    select();
    resetTool(new SelectTool(currentTool(), currentDesign(), clip));
}

void ToolWidget::transform(const std::function<int(int)>& move, const QString& key)
{
    if (SelectTool* tool = selection()) {
        tool->transform(move, key);
        return;
    }
    Design* design = currentDesign();
    if (!design)
        return;
    const QImage picture = design->getPicture();
    const PolarCells cells(picture, *web);
    QList<int> all;
    for (int cell = 0; cell < cells.grid().count(); ++cell)
        all << cell;
    design->replace(design->getCurrentIndex(),
                    cells.moved(all, move).paintedOver(picture, *web, cells), key);
}

void ToolWidget::text()
{
    if (currentTool())
        resetTool(new TextTool(currentTool()));
}

void ToolWidget::fill()
{
    if (!currentTool())
        return;
    QPixmap black(web->getOverlay().size());
    black.fill(Qt::black);
    resetTool(new ImageTool(currentTool(), black));
}

void ToolWidget::resetTool(Tool* tool)
{
    ToolManager* manager = managers.value(currentView);
    if (!manager) {
        delete tool;
        return;
    }
    if (!tool)
        tool = makeChosen(manager->getTool());
    manager->setTool(tool);
    connectTool(tool);
}

void ToolWidget::setPixmap(QPixmap pix)
{
    if (Tool* tool = currentTool())
        emit changePixmap(pix, colorPanel.getMode(), tool->getText());
}

QStringList ToolWidget::openImages()
{
    const QStringList paths = QFileDialog::getOpenFileNames(nullptr, Resource::getText("IMPORT"),
                                                            lastImagePath, imageFilter);
    if (!paths.isEmpty())
        lastImagePath = paths.first();
    return paths;
}
