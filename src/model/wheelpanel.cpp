#include "wheelpanel.h"

#include "design.h"
#include "griditem.h"
#include "resources/resource.h"
#include "wheelweb.h"

#include <QDragEnterEvent>
#include <QGraphicsBlurEffect>
#include <QGraphicsPixmapItem>
#include <QGraphicsScene>
#include <QMimeData>

#include <limits>

WheelPanel::WheelPanel(Design* design, const WheelWeb& web, const QPixmap& background)
    : design(design)
    , shownIndex(design->getCurrentIndex())
{
    setScene(new QGraphicsScene(this));
    // A picture of the wheel, drawn for a light ground: the grid and the ink look the same in
    // a dark desktop theme.
    setBackgroundBrush(Qt::white);
    backgroundItem = new QGraphicsPixmapItem(background);

    auto* grid = new GridItem(web);
    const QSizeF overlay = web.getOverlay().size();
    grid->setTransform(QTransform::fromScale(background.width() / overlay.width(),
                                             background.height() / overlay.height()));
    addItem(grid, 0);
    auto* blur = new QGraphicsBlurEffect;
    blur->setBlurHints(QGraphicsBlurEffect::QualityHint);
    blur->setBlurRadius(5.0);
    backgroundItem->setGraphicsEffect(blur);
    addItem(backgroundItem, std::numeric_limits<double>::min());

    for (int i = 0; i < design->getCount(); ++i) {
        auto* item = new QGraphicsPixmapItem(QPixmap::fromImage(design->getPicture(i)));
        item->setVisible(i == shownIndex);
        addItem(item, -(i + 1));
        pictures.append(item);
    }
    connect(design, &Design::currentChanged, this, &WheelPanel::changeIndex);
    connect(design, &Design::pictureChanged, this, &WheelPanel::showPicture);

    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setFocusPolicy(Qt::StrongFocus);
    Resource::addText(this, "accessibleName", "CANVAS");
}

WheelPanel::~WheelPanel()
{
    Resource::remove(this);
}

void WheelPanel::addItem(QGraphicsItem* item, double z)
{
    item->setEnabled(false);
    item->setZValue(z);
    item->setFiltersChildEvents(true);
    if (auto* pixmapItem = dynamic_cast<QGraphicsPixmapItem*>(item))
        pixmapItem->setShapeMode(QGraphicsPixmapItem::BoundingRectShape);
    scene()->addItem(item);
}

void WheelPanel::showPicture(int index)
{
    pictures[index]->setPixmap(QPixmap::fromImage(design->getPicture(index)));
}

void WheelPanel::setBackground(QPixmap pix)
{
    backgroundItem->setPixmap(pix);
}

void WheelPanel::changeIndex(int index)
{
    pictures[shownIndex]->hide();
    pictures[index]->show();
    shownIndex = index;
}

void WheelPanel::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasFormat("text/uri-list"))
        event->acceptProposedAction();
    else
        event->ignore();
}

void WheelPanel::dragMoveEvent(QDragMoveEvent*) {}

void WheelPanel::dropEvent(QDropEvent* event)
{
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls())
        if (!url.toLocalFile().isEmpty())
            paths << url.toLocalFile();
    if (!paths.isEmpty())
        emit import(paths);
}
