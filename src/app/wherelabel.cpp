#include "wherelabel.h"

#include "model/polarcells.h"
#include "model/wheelweb.h"
#include "resources/resource.h"

WhereLabel::WhereLabel(const WheelWeb& web, QWidget* parent)
    : QLabel(parent)
    , web(web)
{
    // The text without a cell first: that is what shows.
    Resource::addText(this, "noCellText", "WHERE_NO_CELL");
    Resource::addText(this, "cellText", "WHERE_CELL");
    Resource::addText(this, "accessibleName", "WHERE");
}

WhereLabel::~WhereLabel()
{
    Resource::remove(this);
}

void WhereLabel::setCellText(const QString& text)
{
    cellText = text;
    showAll();
}

void WhereLabel::setNoCellText(const QString& text)
{
    noCellText = text;
    showAll();
}

void WhereLabel::showCell(int newCell)
{
    cell = newCell;
    showAll();
}

void WhereLabel::showSlot(int newRow)
{
    row = newRow;
    showAll();
}

void WhereLabel::showZoom(double newZoom)
{
    zoom = newZoom;
    showAll();
}

void WhereLabel::showAll()
{
    const QString slot = QString::number(row + 1);
    const QString percent = QString::number(qRound(zoom * 100));
    const PolarGrid grid(web.getLineCount(), web.getLedCount());
    if (cell < 0 || cell >= grid.count()) {
        setText(noCellText.arg(slot, percent));
        return;
    }
    const int position = grid.positionOf(cell);
    const double degrees = qRound(position * 3600.0 / grid.positions()) / 10.0;
    setText(cellText.arg(QString::number(position + 1), QString::number(grid.positions()),
                         QString::number(degrees), QString::number(grid.ringOf(cell) + 1),
                         QString::number(grid.rings()), slot, percent));
}
