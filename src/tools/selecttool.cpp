#include "selecttool.h"

#include "model/design.h"
#include "model/wheelweb.h"

#include <QGraphicsPathItem>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QKeyEvent>
#include <QPainter>

#include <vector>

// The selection's border, white under dashed black, so that it shows on ink and ground alike.
class SelectTool::Outline : public QGraphicsPathItem {
public:
    Outline()
    {
        setAcceptedMouseButtons(Qt::NoButton);
        setZValue(2);
    }

    void paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) override
    {
        for (const QPen& pen : {QPen(Qt::white, 3), QPen(Qt::black, 1, Qt::DashLine)}) {
            QPen cosmetic = pen;
            cosmetic.setCosmetic(true);
            painter->setPen(cosmetic);
            painter->drawPath(path());
        }
    }
};

SelectTool::SelectTool(Tool* other, Design* design)
    : Tool(other)
    , grid(web->getLineCount(), web->getLedCount())
    , design(design)
    , index(design->getCurrentIndex())
    , picture(design->getPicture())
    , cells(picture, *web)
    , ground(cells)
    , sector(grid)
    , area(new CellDrag(*web))
    , outline(new Outline)
{
    scene()->addItem(area);
    scene()->addItem(outline);
    connect(area, &CellDrag::pressed, this, &SelectTool::press);
    connect(area, &CellDrag::dragged, this, &SelectTool::drag);
    connect(area, &CellDrag::released, this, &SelectTool::release);
    connect(design, &Design::pictureChanged, this, &SelectTool::pictureChanged);
    // Later: the design is still in the middle of the step that changed the slot.
    connect(
        design, &Design::currentChanged, this,
        [this] {
            if (hidden || places.isEmpty())
                return;
            place();
            emit end();
        },
        Qt::QueuedConnection);
    // Before the cell cursor, which would take the arrows too.
    view->installEventFilter(this);
}

SelectTool::SelectTool(Tool* other, Design* design, const CellClip& pasted)
    : SelectTool(other, design)
{
    floating = pasted;
    places = pasted.cells;
    // Shown where they float.
    moveBy(0, 0);
}

SelectTool::~SelectTool()
{
    if (scene()) {
        view->removeEventFilter(this);
        delete area;
        delete outline;
    }
}

bool SelectTool::hasSelection() const
{
    return !liveCells().isEmpty();
}

void SelectTool::selectAll()
{
    place();
    QList<int> all;
    for (int cell = 0; cell < grid.count(); ++cell)
        all << cell;
    lift(all);
}

CellClip SelectTool::selection() const
{
    CellClip clip;
    for (int i = 0; i < places.size(); ++i) {
        if (places[i] >= 0) {
            clip.cells << places[i];
            clip.colours << floating.colours[i];
        }
    }
    return clip;
}

QList<int> SelectTool::liveCells() const
{
    return selection().cells;
}

void SelectTool::moveBy(int positions, int rings)
{
    for (int& place : places)
        if (place >= 0)
            place = grid.shifted(grid.rotated(place, positions), rings);
    showOutline(places);
    update();
}

void SelectTool::transform(const std::function<int(int)>& move, const QString& key)
{
    for (int& place : places)
        if (place >= 0)
            place = move(place);
    commit(key);
    lift(liveCells());
}

void SelectTool::clear()
{
    const QList<int> kept = liveCells();
    places.fill(-1);
    commit("CLEAR_CELLS");
    lift(kept);
}

void SelectTool::place()
{
    commit(lifted ? "MOVE_CELLS" : "PASTE");
    lift({});
}

void SelectTool::hide()
{
    place();
    hidden = true;
    if (scene()) {
        area->hide();
        outline->hide();
    }
    QPixmap nothing(1, 1);
    nothing.fill(Qt::transparent);
    setTempPixmap(nothing);
}

bool SelectTool::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress || places.isEmpty())
        return Tool::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() & ~Qt::KeypadModifier)
        return false;
    switch (key->key()) {
    case Qt::Key_Left:
        moveBy(-1, 0);
        return true;
    case Qt::Key_Right:
        moveBy(1, 0);
        return true;
    case Qt::Key_Up:
        moveBy(0, -1);
        return true;
    case Qt::Key_Down:
        moveBy(0, 1);
        return true;
    case Qt::Key_Delete:
        clear();
        return true;
    case Qt::Key_Escape:
        place();
        emit end();
        return true;
    default:
        return false;
    }
}

void SelectTool::press(QPointF, int cell)
{
    if (cell >= 0 && liveCells().contains(cell)) {
        mode = Moving;
        grabbed = cell;
        grabbedPlaces = places;
        return;
    }
    // A click outside places what floats; a drag from there chooses anew.
    place();
    mode = cell >= 0 ? Choosing : Idle;
    if (mode == Choosing) {
        sector.start(cell);
        showOutline(sector.cells(true));
    }
}

void SelectTool::drag(QPointF, int cell)
{
    if (cell < 0)
        return;
    if (mode == Choosing) {
        sector.follow(cell);
        showOutline(sector.cells(true));
    } else if (mode == Moving) {
        places = grabbedPlaces;
        moveBy(grid.shortWay(grid.positionOf(grabbed), grid.positionOf(cell)),
               grid.ringOf(cell) - grid.ringOf(grabbed));
    }
}

void SelectTool::release()
{
    if (mode == Choosing)
        lift(sector.cells(true));
    mode = Idle;
}

void SelectTool::lift(const QList<int>& chosen)
{
    picture = design->getPicture(index);
    cells = PolarCells(picture, *web);
    ground = cells.moved(chosen, [](int) { return -1; });
    floating.cells = chosen;
    floating.colours.clear();
    for (int cell : chosen)
        floating.colours << cells.colour(cell);
    places = chosen;
    lifted = true;
    showOutline(chosen);
    update();
}

PolarCells SelectTool::placed() const
{
    PolarCells result = ground;
    for (int i = 0; i < places.size(); ++i)
        if (places[i] >= 0 && qAlpha(floating.colours[i]) != 0)
            result.setColour(places[i], floating.colours[i]);
    return result;
}

void SelectTool::commit(const QString& key)
{
    const PolarCells after = placed();
    if (!(after == cells)) {
        committing = true;
        design->replace(index, after.paintedOver(picture, *web, cells), key);
        committing = false;
    }
}

void SelectTool::pictureChanged(int changed)
{
    if (committing || changed != index)
        return;
    // Undone or changed elsewhere: what floats stays, over the picture as it is now.
    if (lifted) {
        lift(liveCells());
        return;
    }
    picture = design->getPicture(index);
    cells = ground = PolarCells(picture, *web);
    update();
}

void SelectTool::update()
{
    // The cells that change show as they will be; emptied ones show the view's white ground.
    const PolarCells after = placed();
    std::vector<char> changed(grid.count());
    bool any = false;
    for (int cell = 0; cell < grid.count(); ++cell)
        any |= changed[cell] = after.colour(cell) != cells.colour(cell);
    QImage shown(web->getOverlay().size(), QImage::Format_ARGB32_Premultiplied);
    shown.fill(Qt::transparent);
    const int width = shown.width();
    for (int y = 0; any && y < shown.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(shown.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int cell = web->cellAt(QPoint(x, y));
            if (cell < 0 || !changed[cell])
                continue;
            const QRgb ink = after.colour(cell);
            const int ground = 255 - qAlpha(ink);
            line[x] = qRgb(qRed(ink) + ground, qGreen(ink) + ground, qBlue(ink) + ground);
        }
    }
    setTempPixmap(QPixmap::fromImage(shown));
}

void SelectTool::showOutline(const QList<int>& chosen)
{
    // Cells off the grid (-1) are left out.
    std::vector<char> in(grid.count());
    for (int cell : chosen)
        if (cell >= 0)
            in[cell] = true;
    const int rings = grid.rings();
    const int count = grid.count();
    // The cell lists' neighbours: rings side by side, positions a ring count apart.
    const auto out = [&](int cell) { return !in[(cell + count) % count]; };
    QPainterPath path;
    const auto edge = [&](double position1, double ring1, double position2, double ring2) {
        path.moveTo(web->getPoint(position1, ring1));
        path.lineTo(web->getPoint(position2, ring2));
    };
    for (int cell : chosen) {
        if (cell < 0)
            continue;
        const int k = grid.positionOf(cell);
        const int r = grid.ringOf(cell);
        if (r == 0 || out(cell - 1))
            edge(k, r, k + 1, r);
        if (r == rings - 1 || out(cell + 1))
            edge(k, r + 1, k + 1, r + 1);
        if (out(cell + rings))
            edge(k, r, k, r + 1);
        if (out(cell - rings))
            edge(k + 1, r, k + 1, r + 1);
    }
    outline->setPath(path);
}
