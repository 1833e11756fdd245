#include "toolwidget.h"

#include "cellcursor.h"
#include "imagetool.h"
#include "model/wheelweb.h"
#include "pentool.h"
#include "resources/resource.h"
#include "texttool.h"
#include "toolmanager.h"

#include <QAction>
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

    connect(addMenuEntry("MENU_PEN", Qt::Key_P), &QAction::triggered, this, &ToolWidget::pen);
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

void ToolWidget::addTool(const QString& key, const QString& menuKey, const QString& tip,
                         const QKeySequence& keys, const char* slot)
{
    // The button's text is not shown; the menu's text carries the mnemonic.
    QAction* action = addMenuEntry(menuKey, keys);
    connect(action, SIGNAL(triggered()), this, slot);
    Resource::addIcon(action, key);
    auto* button = new QToolButton;
    button->setAutoRaise(true);
    // Flat, but a keyboard user still sees where the focus is.
    button->setStyleSheet("QToolButton{border:none}"
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
    auto* pen = new PenTool(web, view, colorPanel.getBrush(), div);
    delete managers.value(view);
    managers.insert(view, new ToolManager(pen, *web, view));
    connectTool(pen);
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

void ToolWidget::pen()
{
    if (currentTool())
        resetTool();
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
        tool = new PenTool(manager->getTool());
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
