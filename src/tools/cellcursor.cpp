#include "cellcursor.h"

#include "cellpainter.h"
#include "model/wheelweb.h"
#include "pentool.h"
#include "toolmanager.h"

#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QKeyEvent>
#include <QPainter>

// The cursor's cell and its repeats, outlined in white under black so that it stands out on
// dark ink and on the light ground alike; cosmetic pens keep it thin and sharp at any zoom.
class CellCursor::Outline : public QGraphicsItem {
public:
    explicit Outline(const WheelWeb& web)
        : web(web)
    {
        setAcceptedMouseButtons(Qt::NoButton);
        // Over the pictures, the grid and the pen, under the tools' panels.
        setZValue(2);
        hide();
    }

    QRectF boundingRect() const override { return QRectF(QPointF(0, 0), web.getOverlay().size()); }

    void paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) override
    {
        const CellPainter cells(web, Qt::NoBrush, div);
        painter->setBrush(Qt::NoBrush);
        painter->setRenderHint(QPainter::Antialiasing);
        for (const QPen& pen : {QPen(Qt::white, 2), QPen(Qt::black, 1)}) {
            QPen cosmetic = pen;
            cosmetic.setCosmetic(true);
            painter->setPen(cosmetic);
            cells.paintRepeats(painter, cell);
        }
    }

    void show(int newCell, int newDiv)
    {
        cell = newCell;
        div = newDiv;
        setVisible(true);
        QGraphicsItem::update();
    }

private:
    const WheelWeb& web;
    int cell = 0;
    int div = 1;
};

CellCursor::CellCursor(const WheelWeb& web, QGraphicsView* view, ToolManager* tools)
    : web(web)
    , view(view)
    , tools(tools)
    , outline(new Outline(web))
    // At the top of the wheel, on the rim.
    , angle(web.getLineCount() * 3 / 4)
{
    view->scene()->addItem(outline);
    view->installEventFilter(this);
    view->viewport()->installEventFilter(this);
    connect(view->scene(), &QGraphicsScene::focusItemChanged, this, &CellCursor::update);
}

CellCursor::~CellCursor()
{
    // Without the view its scene, and the outline with it, are gone already.
    if (view) {
        view->removeEventFilter(this);
        view->viewport()->removeEventFilter(this);
        delete outline;
    }
}

int CellCursor::getCell() const
{
    return (web.getLineCount() - 1 - angle) * web.getLedCount() + ring;
}

bool CellCursor::isShown() const
{
    return view && outline->isVisible();
}

void CellCursor::update()
{
    // The keys belong to a tool's panel while it has the focus in the scene.
    if (view && view->hasFocus() && !view->scene()->focusItem() && web.getLedCount() > 0)
        outline->show(getCell(), tools->getTool()->getDiv());
    else if (view)
        outline->hide();
}

bool CellCursor::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != view) {
        if (event->type() == QEvent::MouseButtonPress && held && painted) {
            painted = false;
            if (auto* pen = qobject_cast<PenTool*>(tools->getTool()))
                pen->discard();
        }
        return false;
    }
    switch (event->type()) {
    case QEvent::FocusIn:
        update();
        break;
    case QEvent::FocusOut:
        // Space comes up elsewhere.
        setHeld(false);
        finish();
        update();
        break;
    case QEvent::KeyPress:
        if (!view->scene()->focusItem())
            return keyPress(static_cast<QKeyEvent*>(event));
        break;
    case QEvent::KeyRelease:
        if (!view->scene()->focusItem())
            return keyRelease(static_cast<QKeyEvent*>(event));
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

bool CellCursor::keyPress(QKeyEvent* event)
{
    if (event->modifiers() & ~Qt::KeypadModifier)
        return false;
    switch (event->key()) {
    case Qt::Key_Left:
        move(-1, 0);
        return true;
    case Qt::Key_Right:
        move(1, 0);
        return true;
    case Qt::Key_Up:
        move(0, -1);
        return true;
    case Qt::Key_Down:
        move(0, 1);
        return true;
    case Qt::Key_Space:
        // A held key repeats; the run goes on until it really comes up.
        if (!event->isAutoRepeat()) {
            setHeld(true);
            paint();
        }
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        paint();
        if (!held)
            finish();
        return true;
    default:
        return false;
    }
}

bool CellCursor::keyRelease(QKeyEvent* event)
{
    if (event->key() != Qt::Key_Space)
        return false;
    if (event->isAutoRepeat())
        return true;
    setHeld(false);
    finish();
    return true;
}

void CellCursor::move(int angles, int rings)
{
    const int lines = web.getLineCount();
    if (lines < 1 || web.getLedCount() < 1)
        return;
    angle = ((angle + angles) % lines + lines) % lines;
    ring = qBound(0, ring + rings, web.getLedCount() - 1);
    if (held)
        paint();
    update();
    view->ensureVisible(web.getPolygons().value(getCell()).boundingRect());
}

void CellCursor::paint()
{
    if (auto* pen = qobject_cast<PenTool*>(tools->getTool())) {
        pen->click(getCell());
        painted = true;
    }
}

void CellCursor::setHeld(bool down)
{
    if (held == down)
        return;
    held = down;
    emit heldChanged(held);
}

void CellCursor::finish()
{
    if (!painted)
        return;
    painted = false;
    // The pen hands its stroke on and is replaced by a fresh one.
    if (auto* pen = qobject_cast<PenTool*>(tools->getTool()))
        pen->toEnd();
}
