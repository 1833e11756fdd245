#include "wheelpanel.h"

#include "design.h"
#include "griditem.h"
#include "resources/resource.h"
#include "wheelweb.h"

#include <QDragEnterEvent>
#include <QGraphicsBlurEffect>
#include <QGraphicsPixmapItem>
#include <QGraphicsProxyWidget>
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

namespace {

// What Tab stops at in a widget on the scene, in its order.
QList<QWidget*> tabStops(QWidget* widget)
{
    QList<QWidget*> stops;
    for (QWidget* w = widget->nextInFocusChain(); w != widget; w = w->nextInFocusChain())
        if ((w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(widget) && w->isEnabled() &&
            !w->focusProxy() && widget->isAncestorOf(w))
            stops << w;
    return stops;
}

} // namespace

bool WheelPanel::event(QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool tab = key->key() == Qt::Key_Tab && !(key->modifiers() & ~Qt::ShiftModifier);
        const bool back =
            key->key() == Qt::Key_Backtab || (tab && (key->modifiers() & Qt::ShiftModifier));
        auto* proxy = dynamic_cast<QGraphicsProxyWidget*>(scene()->focusItem());
        if ((tab || back) && proxy && proxy->widget()) {
            tabThrough(proxy->widget(), !back);
            return true;
        }
    }
    return QGraphicsView::event(event);
}

void WheelPanel::focusInEvent(QFocusEvent* event)
{
    QGraphicsView::focusInEvent(event);
    // Tab comes in at a tool panel's first stop, Shift+Tab at its last.
    auto* proxy = dynamic_cast<QGraphicsProxyWidget*>(scene()->focusItem());
    const bool next = event->reason() == Qt::TabFocusReason;
    if ((next || event->reason() == Qt::BacktabFocusReason) && proxy && proxy->widget()) {
        const QList<QWidget*> stops = tabStops(proxy->widget());
        if (!stops.isEmpty())
            (next ? stops.first() : stops.last())->setFocus(event->reason());
    }
}

void WheelPanel::tabThrough(QWidget* panel, bool next)
{
    const QList<QWidget*> stops = tabStops(panel);
    const qsizetype at = stops.indexOf(panel->focusWidget());
    const qsizetype to = at < 0 ? (next ? 0 : stops.size() - 1) : at + (next ? 1 : -1);
    if (to >= 0 && to < stops.size())
        stops[to]->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    else
        QAbstractScrollArea::focusNextPrevChild(next);
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
