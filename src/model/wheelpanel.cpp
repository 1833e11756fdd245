#include "wheelpanel.h"

#include "design.h"
#include "griditem.h"
#include "resources/resource.h"
#include "slotplayer.h"
#include "wheelweb.h"

#include <QDragEnterEvent>
#include <QGraphicsBlurEffect>
#include <QGraphicsPixmapItem>
#include <QGraphicsProxyWidget>
#include <QGraphicsScene>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>

#include <cmath>
#include <limits>

namespace {

// The ink of the previous and of the next slot: faint, and unlike any LED colour on the
// light ground.
const QColor onionTints[2] = {QColor(150, 60, 210, 90), QColor(0, 160, 150, 90)};

QPixmap tinted(const QImage& picture, const QColor& tint)
{
    QImage image = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(image.rect(), tint);
    painter.end();
    return QPixmap::fromImage(image);
}

} // namespace

WheelPanel::WheelPanel(Design* design, const WheelWeb& web, const QPixmap& background)
    : design(design)
    , web(web)
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
    for (auto*& item : onion) {
        item = new QGraphicsPixmapItem;
        item->hide();
        // Under every picture.
        addItem(item, -(design->getCount() + 1));
    }
    connect(design, &Design::currentChanged, this, &WheelPanel::showShown);
    connect(design, &Design::pictureChanged, this, &WheelPanel::showPicture);

    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
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

void WheelPanel::follow(SlotPlayer* player)
{
    connect(player, &SlotPlayer::showing, this, &WheelPanel::showPlayed);
    connect(player, &SlotPlayer::stopped, this, [this] { showPlayed(-1); });
    connect(this, &WheelPanel::stopPlaying, player, &SlotPlayer::stop);
}

void WheelPanel::showPicture(int index)
{
    pictures[index]->setPixmap(QPixmap::fromImage(design->getPicture(index)));
    showOnion();
}

void WheelPanel::showPlayed(int index)
{
    // Escape stops playing before a tool at work here takes it: the filter installed last
    // sees the keys first.
    if (playedIndex < 0 && index >= 0)
        installEventFilter(this);
    playedIndex = index;
    showShown();
}

void WheelPanel::showShown()
{
    const int index = playedIndex >= 0 ? playedIndex : design->getCurrentIndex();
    pictures[shownIndex]->hide();
    pictures[index]->show();
    shownIndex = index;
    showOnion();
}

void WheelPanel::setOnionSkin(bool previous, bool next)
{
    onionWanted[0] = previous;
    onionWanted[1] = next;
    showOnion();
}

void WheelPanel::showOnion()
{
    const QList<int> order = design->getList();
    const int row = design->getCurrentRow();
    for (int side = 0; side < 2; ++side) {
        const int neighbour = row + (side == 0 ? -1 : 1);
        // A played slot is shown alone.
        const bool shown =
            onionWanted[side] && playedIndex < 0 && neighbour >= 0 && neighbour < order.size();
        if (shown)
            onion[side]->setPixmap(tinted(design->getPicture(order[neighbour]), onionTints[side]));
        onion[side]->setVisible(shown);
    }
}

void WheelPanel::zoomBy(int steps)
{
    zoomBy(steps, QRectF(viewport()->rect()).center());
}

void WheelPanel::zoomBy(int steps, QPointF at)
{
    if (steps == 0)
        return;
    const QPointF kept = mapToScene(at.toPoint());
    const double zoom = getZoom();
    const double factor = qBound(minZoom, zoom * std::pow(zoomStep, steps), maxZoom) / zoom;
    if (qFuzzyCompare(factor, 1.0))
        return;
    const ViewportAnchor anchor = transformationAnchor();
    setTransformationAnchor(NoAnchor);
    scale(factor, factor);
    setTransformationAnchor(anchor);
    const QPointF moved = mapFromScene(kept) - at;
    horizontalScrollBar()->setValue(horizontalScrollBar()->value() + qRound(moved.x()));
    verticalScrollBar()->setValue(verticalScrollBar()->value() + qRound(moved.y()));
    emit zoomChanged(getZoom());
}

void WheelPanel::setZoom(double zoom)
{
    setTransform(QTransform::fromScale(zoom, zoom));
    emit zoomChanged(zoom);
}

void WheelPanel::setPanKey(bool down)
{
    panKey = down;
}

void WheelPanel::setBackground(QPixmap pix)
{
    backgroundItem->setPixmap(pix);
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

bool WheelPanel::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::Leave)
        emit pointerCell(-1);
    return QGraphicsView::viewportEvent(event);
}

bool WheelPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == this && playedIndex >= 0 && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        emit stopPlaying();
        return true;
    }
    return QGraphicsView::eventFilter(watched, event);
}

void WheelPanel::mousePressEvent(QMouseEvent* event)
{
    // Whatever the press does, it is done to the current picture, which must be shown.
    emit stopPlaying();
    // A pan never reaches the scene, where the tools draw.
    if (event->button() == Qt::MiddleButton || (event->button() == Qt::LeftButton && panKey)) {
        panning = true;
        panFrom = event->position().toPoint();
        viewport()->setCursor(Qt::ClosedHandCursor);
        event->accept();
        return;
    }
    QGraphicsView::mousePressEvent(event);
}

void WheelPanel::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    emit pointerCell(web.cellAt(mapToScene(at).toPoint()));
    if (!panning) {
        QGraphicsView::mouseMoveEvent(event);
        return;
    }
    const QPoint moved = at - panFrom;
    panFrom = at;
    horizontalScrollBar()->setValue(horizontalScrollBar()->value() - moved.x());
    verticalScrollBar()->setValue(verticalScrollBar()->value() - moved.y());
    event->accept();
}

void WheelPanel::mouseReleaseEvent(QMouseEvent* event)
{
    if (!panning) {
        QGraphicsView::mouseReleaseEvent(event);
        return;
    }
    if (event->buttons() & (Qt::MiddleButton | Qt::LeftButton))
        return;
    panning = false;
    viewport()->unsetCursor();
    event->accept();
}

void WheelPanel::wheelEvent(QWheelEvent* event)
{
    if (!(event->modifiers() & Qt::ControlModifier)) {
        // The controls of a tool's panel take the wheel; elsewhere it scrolls the view, which
        // it never does when left to the scene.
        const QPoint at = event->position().toPoint();
        auto* proxy = dynamic_cast<QGraphicsProxyWidget*>(itemAt(at));
        if (proxy && proxy->widget() &&
            proxy->widget()->childAt(proxy->mapFromScene(mapToScene(at)).toPoint()))
            QGraphicsView::wheelEvent(event);
        else
            QAbstractScrollArea::wheelEvent(event);
        return;
    }
    // A fine-stepped wheel or a touchpad sends parts of a notch; whole notches zoom.
    wheelAngle += event->angleDelta().y();
    const int steps = wheelAngle / QWheelEvent::DefaultDeltasPerStep;
    wheelAngle -= steps * QWheelEvent::DefaultDeltasPerStep;
    zoomBy(steps, event->position());
    event->accept();
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
