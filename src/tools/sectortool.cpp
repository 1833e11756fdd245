#include "sectortool.h"

#include "model/wheelweb.h"
#include "resources/resource.h"

#include <QGraphicsProxyWidget>
#include <QGraphicsScene>
#include <QToolButton>

#include <limits>

bool SectorTool::filled = false;

SectorTool::SectorTool(Tool* other)
    : Tool(other)
    , area(new CellDrag(*web))
    , sector(PolarGrid(web->getLineCount(), web->getLedCount()))
    , filledButton(new QToolButton)
{
    scene()->addItem(area);
    connect(area, &CellDrag::pressed, this, &SectorTool::press);
    connect(area, &CellDrag::dragged, this, &SectorTool::drag);
    connect(area, &CellDrag::released, this, &SectorTool::release);

    filledButton->setCheckable(true);
    filledButton->setChecked(filled);
    filledButton->setText(Resource::getText("SECTOR_FILLED"));
    filledButton->setToolTip(Resource::getText("SECTOR_FILLED_TIP"));
    connect(filledButton, &QToolButton::toggled, this, [this](bool on) {
        filled = on;
        update();
    });
    proxy = scene()->addWidget(filledButton);
    proxy->setZValue(std::numeric_limits<double>::max());
    // Clicked, not typed into: the keys stay with the view.
    proxy->setFocusPolicy(Qt::NoFocus);
}

SectorTool::~SectorTool()
{
    if (scene()) {
        delete area;
        delete proxy;
    }
}

void SectorTool::press(QPointF, int cell)
{
    dragging = cell >= 0;
    if (!dragging)
        return;
    sector.start(cell);
    update();
}

void SectorTool::drag(QPointF, int cell)
{
    if (!dragging)
        return;
    sector.follow(cell);
    update();
}

void SectorTool::update()
{
    // A sector may hold every cell of the grid.
    result = QPixmap::fromImage(
        cellPainter().paintCells(dragging ? sector.cells(filled) : QList<int>()));
    setTempPixmap(result);
}

void SectorTool::release()
{
    if (!dragging)
        return;
    emit upDate(result);
    emit end();
}

void SectorTool::hide()
{
    if (scene()) {
        area->hide();
        proxy->hide();
    }
    QPixmap nothing(1, 1);
    nothing.fill(Qt::transparent);
    setTempPixmap(nothing);
}
