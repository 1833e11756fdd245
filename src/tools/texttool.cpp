#include "texttool.h"

#include "bitfont.h"
#include "model/wheelweb.h"
#include "resources/resource.h"

#include <QBoxLayout>
#include <QGraphicsProxyWidget>
#include <QGraphicsScene>
#include <QPainter>
#include <QPushButton>

#include <limits>

TextTool::TextTool(Tool* other)
    : Tool(other)
    , panel(new QWidget)
    , result(web->getOverlay().size())
{
    // Nothing may be laid out at all (too few rings for any size, no font): OK then delivers
    // an empty picture.
    result.fill(Qt::transparent);
    entry = new BitFont(web->getLedCount(), panel);
    connect(entry, &BitFont::setText, this, &TextTool::dataChange);
    auto* ok = new QPushButton(panel);
    ok->setIcon(Resource::getIcon("YES"));
    ok->setToolTip(Resource::getText("OK"));
    ok->setAccessibleName(ok->toolTip());
    connect(ok, &QPushButton::clicked, this, &TextTool::toImport);
    auto* cancel = new QPushButton(panel);
    cancel->setIcon(Resource::getIcon("NO"));
    cancel->setToolTip(Resource::getText("CANCEL"));
    cancel->setAccessibleName(cancel->toolTip());
    connect(cancel, &QPushButton::clicked, this, &TextTool::toEnd);

    auto* layout = new QHBoxLayout;
    layout->setSpacing(0);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(entry);
    layout->addWidget(ok);
    layout->addWidget(cancel);
    panel->adjustSize();
    panel->setLayout(layout);

    QPalette palette = panel->palette();
    QColor shade = palette.brush(panel->backgroundRole()).color();
    shade.setAlphaF(0.5f);
    palette.setBrush(QPalette::All, panel->backgroundRole(), shade);
    panel->setPalette(palette);

    proxy = scene()->addWidget(panel, Qt::Dialog | Qt::WindowTitleHint);
    proxy->setZValue(std::numeric_limits<double>::max());
    const QSize picture = web->getOverlay().size();
    proxy->setPos((picture.width() - panel->width()) / 2, (picture.height() - panel->height()) / 2);
    // The text is typed at once, the tools' letters too.
    entry->setFocus();
    entry->dataChange();
}

TextTool::~TextTool()
{
    if (scene())
        delete proxy;
}

void TextTool::dataChange(QVector<QPoint> newPoints)
{
    points = newPoints;
    update();
}

void TextTool::update()
{
    result.fill(Qt::transparent);
    const int angles = web->getLineCount();
    const int rings = web->getLedCount();
    QPainter painter(&result);
    painter.setBrush(brush);
    painter.setPen(Qt::NoPen);
    const CellPainter cells = cellPainter();
    for (const QPoint& point : points) {
        if (point.y() >= rings || point.y() < 0 || angles < 1)
            continue;
        int column = int((-(qint64(angles / 2) + point.x())) % angles);
        if (column < 0)
            column += angles;
        cells.paintRepeats(&painter, column * rings + point.y());
    }
    painter.end();
    setTempPixmap(result);
}

void TextTool::toImport()
{
    emit upDate(result);
    emit end();
}

void TextTool::toEnd()
{
    emit end();
}

void TextTool::hide()
{
    if (scene())
        proxy->hide();
}
