#include "toolwidget.h"

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
    Resource::addText(&menu, "title", "TOOL");
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

    addTool("IMPORT", "IMPORT_TIP", SLOT(import()));
    addTool("TEXT", "TEXT_TIP", SLOT(text()));
    addTool("FILL", "FILL_TIP", SLOT(fill()));

    colorPanel.setMinimumHeight(64);
    layout->addWidget(&colorPanel, (buttonCount + 1) / 2, 0, 1, 2);
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

QAction* ToolWidget::addTool(const QString& key, const QString& tip, const char* slot)
{
    QAction* action = menu.addAction(key, this, slot);
    Resource::add(action, "text", key);
    auto* button = new QToolButton;
    button->setAutoRaise(true);
    button->setStyleSheet("QToolButton{border:none}");
    button->setIconSize(QSize(32, 32));
    // Its text is not shown, but is its name for a screen reader.
    Resource::addText(button, "text", key);
    Resource::addText(button, "toolTip", tip);
    // Drawn from the SVG at the button's size in device pixels, so sharp on any screen.
    button->setIcon(QIcon(":/tools/" + key.toLower() + ".svg"));
    connect(button, SIGNAL(clicked(bool)), this, slot);
    layout->addWidget(button, buttonCount / 2, buttonCount % 2);
    ++buttonCount;
    texted << action << button;
    return action;
}

Tool* ToolWidget::currentTool() const
{
    ToolManager* manager = managers.value(currentView);
    return manager ? manager->getTool() : nullptr;
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
    managers.insert(view, new ToolManager(pen));
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
