#include "app/memorytuning.h"
#include "modalanswerer.h"
#include "model/design.h"
#include "model/polarcells.h"
#include "model/wheelpanel.h"
#include "model/wheelweb.h"
#include "resources/resource.h"
#include "testsuite.h"
#include "tools/bitfont.h"
#include "tools/cellcursor.h"
#include "tools/fontcache.h"
#include "tools/imageconverter.h"
#include "tools/imagelabel.h"
#include "tools/imagetool.h"
#include "tools/linetool.h"
#include "tools/pentool.h"
#include "tools/sectortool.h"
#include "tools/selecttool.h"
#include "tools/texttool.h"
#include "tools/toolwidget.h"

#include <QAction>
#include <QApplication>
#include <QGraphicsPathItem>
#include <QGraphicsProxyWidget>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>
#include <QToolButton>

#include <algorithm>

namespace {

using Points = QVector<QPoint>;

// A font whose letter A is one row of width pixels.
QByteArray letterFont(const char* width, const char* row, const QByteArray& comment = {})
{
    return "STARTFONT 2.1\n" + comment + "ENCODING 65\nDWIDTH 3 0\nBBX " + width +
           " 1 0 0\nBITMAP\n" + row + "\nENDCHAR\nENDFONT\n";
}

bool writeFont(const QString& path, const QByteArray& content, const QDateTime& modified)
{
    QFile file(path);
    // Flushed before the time is set, which the last write would change otherwise.
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size() &&
           file.flush() && file.setFileTime(modified, QFileDevice::FileModificationTime);
}

template <class T>
T* child(QObject* parent, int index = 0)
{
    return parent->findChildren<T*>(QString(), Qt::FindDirectChildrenOnly).value(index);
}

// A design with the palette wired to it the way the main window wires them.
struct Desk {
    Desk(int lines, int leds)
        : web(lines, leds, 80, 16)
    {
        panel.setFixedSize(560, 560);
        panel.show();
        palette.add(&panel);
        palette.changeTab(&panel);
        QObject::connect(&palette, &ToolWidget::changePixmap, &design,
                         [this](const QPixmap& pix, QPainter::CompositionMode mode,
                                const QString& text) { design.paint(pix.toImage(), mode, text); });
    }
    ~Desk() { palette.remove(&panel); }

    // A cell's centre on the screen; -1 is the axle.
    QPoint at(int cell) const
    {
        return panel.mapFromScene(cell < 0 ? QPointF(256, 256) : web.getCenters()[cell]);
    }
    void stroke(const QList<int>& cells, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mousePress(panel.viewport(), button, {}, at(cells.first()));
        for (int cell : cells.mid(1))
            QTest::mouseMove(panel.viewport(), at(cell));
        QTest::mouseRelease(panel.viewport(), button, {}, at(cells.last()));
    }
    // A drag through cells with the left button, keys held all the way.
    void drag(const QList<int>& cells, Qt::KeyboardModifiers keys = {})
    {
        const auto send = [&](QEvent::Type type, int cell, Qt::MouseButtons held) {
            const QPointF pos = at(cell);
            QMouseEvent event(type, pos, panel.viewport()->mapToGlobal(pos), Qt::LeftButton, held,
                              keys);
            QApplication::sendEvent(panel.viewport(), &event);
        };
        send(QEvent::MouseButtonPress, cells.first(), Qt::LeftButton);
        for (int cell : cells.mid(1))
            send(QEvent::MouseMove, cell, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, cells.last(), Qt::NoButton);
    }
    void key(int code)
    {
        QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier);
        QApplication::sendEvent(&panel, &press);
        QKeyEvent release(QEvent::KeyRelease, code, Qt::NoModifier);
        QApplication::sendEvent(&panel, &release);
    }
    // Cells written as position/ring, separated by spaces; either may be a range a..b,
    // positions running clockwise round the wheel from a to b.
    QList<int> cells(const QString& written) const
    {
        const PolarGrid grid(web.getLineCount(), web.getLedCount());
        const auto range = [](const QString& text, int modulus) {
            const QStringList ends = text.split("..");
            const int first = ends.first().toInt();
            int count = ends.last().toInt() - first;
            if (modulus)
                count = (count % modulus + modulus) % modulus;
            QList<int> values;
            for (int i = 0; i <= count; ++i)
                values << first + i;
            return values;
        };
        QList<int> found;
        for (const QString& block : written.split(' ', Qt::SkipEmptyParts)) {
            const QStringList parts = block.split('/');
            for (int position : range(parts[0], grid.positions()))
                for (int ring : range(parts[1], 0))
                    found << grid.cell(position, ring);
        }
        return found;
    }
    // Each cell of the grid lit in a colour of its own.
    QImage lit(const QList<int>& chosen) const
    {
        PolarCells shown{PolarGrid(web.getLineCount(), web.getLedCount())};
        for (int cell : chosen)
            shown.setColour(cell, qRgb(cell % 256, cell / 256, 200));
        QImage empty(512, 512, QImage::Format_ARGB32_Premultiplied);
        empty.fill(Qt::transparent);
        return shown.paintedOver(empty, web);
    }
    QList<int> litCells() const
    {
        const QImage picture = design.getPicture();
        QList<int> cells;
        for (int i = 0; i < web.getCenters().size(); ++i)
            if (qAlpha(picture.pixel(web.getCenters()[i].toPoint())) > 0)
                cells << i;
        return cells;
    }
    template <class T>
    T* tool(const char* slot = nullptr)
    {
        if (slot)
            QMetaObject::invokeMethod(&palette, slot);
        return qobject_cast<T*>(palette.currentTool());
    }
    void image(const QString& action)
    {
        for (QAction* entry : tool<ImageTool>()->getPanel()->findChildren<QAction*>())
            if (entry->text() == action)
                entry->trigger();
    }
    // The OK button beside the text entry.
    void writeText() { child<QPushButton>(tool<TextTool>()->getEntry()->parentWidget())->click(); }
    QUndoStack* stack() { return design.getUndoStack(); }

    WheelWeb web;
    ToolWidget palette{&web, 1};
    // The overlay stands in for the background too: only its size matters here.
    Design design{2, web.getOverlay().size()};
    WheelPanel panel{&design, web, QPixmap::fromImage(web.getOverlay())};
};

} // namespace

class DrawingToolsTest : public QObject {
    Q_OBJECT
private slots:

    // The text entry remembers its choices for the whole run; each test starts afresh.
    void init()
    {
        BitFont::upButtonClicked = true;
        BitFont::fontName = 0;
        BitFont::fontSize = 0;
        BitFont::lineText.clear();
        SectorTool::filled = false;
    }

    // Lines and sectors at two grids, one with an odd number of positions. The pointer runs
    // through the cells of the path (position/ring); each shape is one step, and the tool
    // stays chosen.
    void shapes_data()
    {
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("leds");
        QTest::addColumn<QString>("tool");
        QTest::addColumn<bool>("shift");
        QTest::addColumn<int>("div");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("expected");
        QTest::newRow("line along a spoke") << 64 << 16 << "line" << false << 1 << "0/0 0/15"
                                            << "0/0..15";
        QTest::newRow("line to a neighbour") << 64 << 16 << "line" << false << 1 << "0/0 1/0"
                                             << "0/0 1/0";
        QTest::newRow("line follows the pointer back")
            << 64 << 16 << "line" << false << 1 << "0/2 0/9 0/4"
            << "0/2..4";
        QTest::newRow("line with repeats") << 64 << 16 << "line" << false << 4 << "0/0 0/3"
                                           << "0/0..3 16/0..3 32/0..3 48/0..3";
        QTest::newRow("shift keeps to the spoke") << 64 << 16 << "line" << true << 1 << "0/2 1/10"
                                                  << "0/2..10";
        QTest::newRow("shift keeps to the ring the short way")
            << 64 << 16 << "line" << true << 1 << "2/3 60/3"
            << "60..2/3";
        QTest::newRow("shift keeps to the ring off it")
            << 64 << 16 << "line" << true << 1 << "2/3 5/4"
            << "2..5/3";
        QTest::newRow("sector outline") << 64 << 16 << "sector" << false << 1 << "2/1 5/4"
                                        << "2/1..4 5/1..4 3..4/1 3..4/4";
        QTest::newRow("sector filled") << 64 << 16 << "filled" << false << 1 << "2/1 5/4"
                                       << "2..5/1..4";
        QTest::newRow("sector anticlockwise") << 64 << 16 << "filled" << false << 1 << "5/0 3/1"
                                              << "3..5/0..1";
        QTest::newRow("sector the short way over the start")
            << 64 << 16 << "filled" << false << 1 << "62/0 1/2"
            << "62..1/0..2";
        QTest::newRow("sector with repeats") << 64 << 16 << "filled" << false << 4 << "0/0 1/1"
                                             << "0..1/0..1 16..17/0..1 32..33/0..1 48..49/0..1";
        QTest::newRow("arc") << 64 << 16 << "sector" << false << 1 << "3/2 6/2"
                             << "3..6/2";
        QTest::newRow("whole turn")
            << 64 << 16 << "sector" << false << 1 << "0/1 8/1 16/1 24/1 32/1 40/1 48/1 56/1 0/3"
            << "0..63/1 0..63/3";
        QTest::newRow("odd: spoke") << 63 << 8 << "line" << false << 1 << "31/0 31/7"
                                    << "31/0..7";
        QTest::newRow("odd: shift keeps to the ring")
            << 63 << 8 << "line" << true << 1 << "1/2 61/2"
            << "61..1/2";
        QTest::newRow("odd: sector over the start")
            << 63 << 8 << "filled" << false << 1 << "61/1 2/3"
            << "61..2/1..3";
        QTest::newRow("odd: whole turn filled")
            << 63 << 8 << "filled" << false << 1 << "0/0 16/0 32/0 48/0 0/1"
            << "0..62/0..1";
    }
    void shapes()
    {
        QFETCH(int, lines);
        QFETCH(int, leds);
        QFETCH(QString, tool);
        QFETCH(bool, shift);
        QFETCH(int, div);
        QFETCH(QString, path);
        QFETCH(QString, expected);
        Desk desk(lines, leds);
        desk.palette.setDiv(div);
        if (tool == "line") {
            desk.tool<LineTool>("line");
        } else {
            desk.tool<SectorTool>("sector");
            if (tool == "filled")
                desk.tool<SectorTool>()->getFilledButton()->click();
        }
        Tool* first = desk.palette.currentTool();
        desk.drag(desk.cells(path), shift ? Qt::ShiftModifier : Qt::NoModifier);
        QList<int> cells = desk.cells(expected);
        std::sort(cells.begin(), cells.end());
        QCOMPARE(desk.litCells(), cells);
        QCOMPARE(desk.stack()->count(), 1);
        QCOMPARE(desk.stack()->undoText(), tool == "line" ? QString("LINE") : QString("SECTOR"));
        QVERIFY(desk.palette.currentTool() != first);
        QCOMPARE(desk.palette.currentTool()->metaObject(), first->metaObject());
        QCOMPARE(SectorTool::filled, tool == "filled");
    }

    // A selection moved round the wheel. Steps: a drag through cells (position/ring, joined
    // by -), the arrows L R U D, X Delete, E Escape, A select all. Whatever is placed is one
    // step, undone to the picture as it was.
    void selectMovePlace_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("count");
        QTest::newRow("arrows") << "0/0-2/2 R R D E"
                                << "2/1 3/2 4/3 10/0" << 1;
        QTest::newRow("drag") << "0/0-2/2 1/1-5/3 E"
                              << "4/2 5/3 6/4 10/0" << 1;
        QTest::newRow("beyond the rim") << "0/0-2/2 U E"
                                        << "1/0 2/1 10/0" << 1;
        QTest::newRow("beyond the hub") << "0/0-2/2 0/1-0/15 E"
                                        << "0/14 1/15 10/0" << 1;
        QTest::newRow("dragged back") << "0/0-2/2 1/1-1/0-1/1 E"
                                      << "0/0 1/1 2/2 10/0" << 0;
        QTest::newRow("round the start") << "0/0-2/2 L L L E"
                                         << "61/0 62/1 63/2 10/0" << 1;
        QTest::newRow("empty cells leave ink") << "0/0-0/1 R E"
                                               << "1/0 1/1 2/2 10/0" << 1;
        QTest::newRow("delete") << "0/0-2/2 X"
                                << "10/0" << 1;
        QTest::newRow("escape unmoved") << "0/0-2/2 E"
                                        << "0/0 1/1 2/2 10/0" << 0;
        QTest::newRow("click outside") << "0/0-2/2 R 30/5-30/5"
                                       << "1/0 2/1 3/2 10/0" << 1;
        QTest::newRow("twice") << "0/0-0/0 R E 10/0-10/0 D E"
                               << "1/0 1/1 2/2 10/1" << 2;
        QTest::newRow("all") << "A D E"
                             << "0/1 1/2 2/3 10/1" << 1;
    }
    void selectMovePlace()
    {
        QFETCH(QString, steps);
        QFETCH(QString, expected);
        QFETCH(int, count);
        Desk desk(64, 16);
        const QImage before = desk.lit(desk.cells("0/0 1/1 2/2 10/0"));
        desk.design.setPicture(0, before);
        desk.tool<SelectTool>("select");
        const QMap<QString, int> keys = {{"L", Qt::Key_Left},   {"R", Qt::Key_Right},
                                         {"U", Qt::Key_Up},     {"D", Qt::Key_Down},
                                         {"X", Qt::Key_Delete}, {"E", Qt::Key_Escape}};
        for (const QString& step : steps.split(' ')) {
            if (keys.contains(step))
                desk.key(keys[step]);
            else if (step == "A")
                desk.palette.selectAll();
            else
                desk.drag(desk.cells(QString(step).replace('-', ' ')));
        }
        QVERIFY(qobject_cast<SelectTool*>(desk.palette.currentTool()));
        QList<int> cells = desk.cells(expected);
        std::sort(cells.begin(), cells.end());
        QCOMPARE(desk.litCells(), cells);
        QCOMPARE(desk.stack()->count(), count);
        const QImage after = desk.design.getPicture();
        desk.stack()->setIndex(0);
        QCOMPARE(desk.design.getPicture(), before);
        desk.stack()->setIndex(count);
        QCOMPARE(desk.design.getPicture(), after);
    }

    // Copied cells float in another slot where they were, move, and are placed there in one
    // step; the slot they came from keeps them.
    void pasteIntoAnotherSlot()
    {
        Desk desk(64, 16);
        const QImage before = desk.lit(desk.cells("0/0 1/1 2/2 10/0"));
        desk.design.setPicture(0, before);
        desk.tool<SelectTool>("select");
        desk.drag(desk.cells("0/0 1/1"));
        const CellClip clip = desk.palette.selection()->selection();
        desk.design.chooseRow(1);
        QTest::qWait(20);
        desk.palette.paste(clip);
        desk.key(Qt::Key_Right);
        QCOMPARE(desk.litCells(), QList<int>());
        // The outline runs round the cells where they float.
        QRectF floating;
        for (int cell : desk.cells("1..2/0..1"))
            floating |= desk.web.getPolygons()[cell].boundingRect();
        QGraphicsPathItem* outline = nullptr;
        for (QGraphicsItem* item : desk.panel.scene()->items())
            outline = outline ? outline : dynamic_cast<QGraphicsPathItem*>(item);
        QCOMPARE(outline->path().boundingRect(), floating);
        desk.key(Qt::Key_Escape);
        QCOMPARE(desk.litCells(), desk.cells("2/1 1/0"));
        QCOMPARE(desk.design.getPicture(0), before);
        QCOMPARE(desk.stack()->count(), 2);
        QCOMPARE(desk.stack()->undoText(), QString("PASTE"));
    }

    // The pen's picking widget lies over the whole picture and shows nothing of its own, not
    // even a background in the window colour.
    void penShowsNothingOfItsOwn()
    {
        const QPalette old = QApplication::palette();
        QPalette loud = old;
        loud.setColor(QPalette::Window, Qt::magenta);
        QApplication::setPalette(loud);
        const auto restore = qScopeGuard([&old] { QApplication::setPalette(old); });
        Desk desk(16, 8);
        QVERIFY(qobject_cast<PenTool*>(desk.palette.currentTool()));
        const QImage shown = desk.panel.viewport()->grab().toImage();
        QCOMPARE(shown.pixelColor(desk.at(-1)), QColor(Qt::white));
    }

    // The pen, the colour panel and imported pictures on one design. A stroke is one step and
    // a fresh pen: over cells and back, or over the hub, which picks nothing; out of the wheel
    // or with the right button nothing happens. The colour panel swaps to the eraser and back;
    // a repeat paints a cell around the wheel and passes to the next pen. A quick drag reports
    // far-apart points: every position between is entered.
    void drawingWalk()
    {
        const int leds = 16;
        Desk desk(64, leds);
        Tool* first = desk.palette.currentTool();
        QSignalSpy results(&desk.palette, &ToolWidget::changePixmap);
        QTest::mouseClick(desk.panel.viewport(), Qt::LeftButton, {}, desk.panel.mapFromScene(3, 3));
        desk.stroke({-1});
        desk.stroke({5, 13}, Qt::RightButton);
        QCOMPARE(results.size(), 0);
        QCOMPARE(desk.palette.currentTool(), first);
        desk.stroke({40, 56, 40});
        QCOMPARE(results.size(), 1);
        QVERIFY(desk.palette.currentTool() != first);
        desk.stroke({15, -1, 15});
        QCOMPARE(desk.litCells(), (QList<int>{15, 40, 56}));
        ColorPanel* colours = desk.palette.getColorPanel();
        QTest::mouseClick(colours, Qt::LeftButton);
        QCOMPARE(colours->getMode(), QPainter::CompositionMode_DestinationOut);
        desk.stroke({40});
        QTest::mouseClick(colours, Qt::LeftButton);
        desk.palette.setDiv(4);
        desk.stroke({5});
        desk.stroke({6});
        QCOMPARE(desk.litCells(), (QList<int>{5, 6, 15, 56, 261, 262, 517, 518, 773, 774}));
        QCOMPARE(desk.stack()->count(), 5);

        desk.palette.setDiv(1);
        desk.stack()->setIndex(0);
        desk.stroke({5 * leds + 2, 12 * leds + 2});
        QSet<int> positions;
        for (int cell : desk.litCells())
            positions << cell / leds;
        QCOMPARE(positions, (QSet<int>{5, 6, 7, 8, 9, 10, 11, 12}));

        // The colour panel shows the foreground swatch top left of its centred square, the
        // background one below right.
        ColorPanel swatches;
        swatches.resize(200, 100);
        const QImage swatch = swatches.grab().toImage();
        QCOMPARE(swatch.pixelColor(60, 10), QColor(Qt::blue));
        QCOMPARE(swatch.pixelColor(145, 95), QColor(Qt::white));

        // A picture opens no larger than the wheel, centred (at the top edge with a repeat);
        // Cancel paints nothing. A grey ramp from black on the left to white on the right is
        // reduced again as the controls change, in the brush's colour at alpha 210, and OK
        // paints the cells under what the panel shows.
        desk.stack()->setIndex(0);
        {
            ModalAnswerer cancel({}, {QString()});
            QSignalSpy chosen(&desk.palette, &ToolWidget::toImport);
            QMetaObject::invokeMethod(&desk.palette, "import", Qt::DirectConnection);
            QVERIFY(chosen.isEmpty());
        }
        QPixmap black(1024, 512);
        black.fill(Qt::black);
        desk.palette.import(black);
        QCOMPARE(desk.tool<ImageTool>()->getPanel()->pixmap().size(), QSize(512, 256));
        QCOMPARE(desk.tool<ImageTool>()->getProxy()->pos(), QPointF(0, 128));
        desk.image("Cancel");

        QImage ramp(256, 256, QImage::Format_RGB32);
        for (int i = 0; i < 256 * 256; ++i)
            ramp.setPixel(i % 256, i / 256, qRgb(i % 256, i % 256, i % 256));
        desk.palette.import(QPixmap::fromImage(ramp));
        ImageLabel* panel = desk.tool<ImageTool>()->getPanel();
        QCOMPARE(panel->mono(ramp.copy(0, 0, 1, 1)).pixel(0, 0), qRgba(127, 127, 255, 210));
        const auto inkColumns = [panel] {
            const QImage shown = panel->pixmap().toImage();
            QList<int> columns;
            for (int x = 0; x < shown.width(); ++x)
                if (qAlpha(shown.pixel(x, 100)) > 0)
                    columns << x;
            return columns;
        };
        QCOMPARE(inkColumns().size(), 128);
        panel->findChild<QSlider*>()->setValue(64);
        desk.image("Invert");
        QCOMPARE(inkColumns().size(), 192);
        QCOMPARE(inkColumns().first(), 64);
        // Stretched to the wheel before the reduction: the columns from 64 on lie from 128 on.
        desk.image("Fit to Wheel");
        QCOMPARE(inkColumns().first(), 128);
        desk.image("OK");
        const QList<int> lit = desk.litCells();
        for (int i = 0; i < desk.web.getCenters().size(); ++i)
            QCOMPARE(lit.contains(i), desk.web.getCenters()[i].x() >= 128);

        desk.palette.setDiv(4);
        desk.palette.import(black.copy(0, 0, 300, 200));
        ImageTool* image = desk.tool<ImageTool>();
        QCOMPARE(image->getPanel()->pixmap().size(), QSize(300, 200));
        QCOMPARE(image->getProxy()->pos(), QPointF((512 - image->getPanel()->width()) * 0.5, 0));
        desk.image("Fit to Wheel");
        QCOMPARE(image->getProxy()->pos(), QPointF(0, 0));
        desk.image("OK");
        QCOMPARE(desk.litCells().size(), 64 * leds);
        QCOMPARE(desk.stack()->count(), 2);
    }

    // A field of one colour; the share of it that becomes ink, within 0.03 where dithered.
    // Drawing from the keyboard: the arrows move the cell cursor (Right clockwise, Up to the
    // rim), Space paints while held and Enter paints once, each run one step, in the pen's
    // colour and repeat. Keys: L R U D the arrows, S and s Space down and up, a Space held
    // through the keyboard's repeat, E Enter, X the colour panel's swap. The cells are given
    // as angular positions from the cursor's start at the top of the wheel, and rings.
    void keyboardDrawing_data()
    {
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("div");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QList<QPoint>>("cells");
        QTest::addColumn<int>("steps");
        QTest::newRow("enter") << 64 << 1 << "E" << QList<QPoint>{{0, 0}} << 1;
        QTest::newRow("run") << 64 << 1 << "SRRs" << QList<QPoint>{{0, 0}, {1, 0}, {2, 0}} << 1;
        QTest::newRow("key repeat")
            << 64 << 1 << "SRaLLs" << QList<QPoint>{{-1, 0}, {0, 0}, {1, 0}} << 1;
        QTest::newRow("rings") << 64 << 1 << "SDDs" << QList<QPoint>{{0, 0}, {0, 1}, {0, 2}} << 1;
        QTest::newRow("moving only") << 64 << 1 << "RRUL" << QList<QPoint>{} << 0;
        QTest::newRow("two runs") << 64 << 1 << "SRsRSs" << QList<QPoint>{{0, 0}, {1, 0}, {2, 0}}
                                  << 2;
        QTest::newRow("rim") << 64 << 1 << "UUE" << QList<QPoint>{{0, 0}} << 1;
        QTest::newRow("hub") << 16 << 1 << QString(20, 'D') + "E" << QList<QPoint>{{0, 15}} << 1;
        QTest::newRow("round") << 16 << 1 << "RRRRE" << QList<QPoint>{{4, 0}} << 1;
        QTest::newRow("repeat") << 16 << 4 << "LE"
                                << QList<QPoint>{{-1, 0}, {3, 0}, {7, 0}, {11, 0}} << 1;
        QTest::newRow("erase") << 64 << 1 << "ERSRsXLE" << QList<QPoint>{{0, 0}, {2, 0}} << 3;
    }
    void keyboardDrawing()
    {
        QFETCH(int, lines);
        QFETCH(int, div);
        QFETCH(QString, keys);
        QFETCH(QList<QPoint>, cells);
        QFETCH(int, steps);
        const int leds = 16;
        Desk desk(lines, leds);
        desk.palette.setDiv(div);
        const auto key = [&desk](QEvent::Type type, int code, bool repeat = false) {
            QKeyEvent event(type, code, Qt::NoModifier, QString(), repeat);
            QApplication::sendEvent(&desk.panel, &event);
        };
        const QMap<QChar, int> arrows = {
            {'L', Qt::Key_Left}, {'R', Qt::Key_Right}, {'U', Qt::Key_Up}, {'D', Qt::Key_Down}};
        for (QChar k : keys) {
            if (arrows.contains(k) || k == 'E') {
                key(QEvent::KeyPress, arrows.value(k, Qt::Key_Return));
                key(QEvent::KeyRelease, arrows.value(k, Qt::Key_Return));
            } else if (k == 'a') {
                key(QEvent::KeyRelease, Qt::Key_Space, true);
                key(QEvent::KeyPress, Qt::Key_Space, true);
            } else if (k == 'X') {
                QTest::mouseClick(desk.palette.getColorPanel(), Qt::LeftButton);
            } else {
                key(k == 'S' ? QEvent::KeyPress : QEvent::KeyRelease, Qt::Key_Space);
            }
        }
        QList<int> expected;
        for (const QPoint& cell : cells)
            expected << (lines - 1 - (lines * 3 / 4 + cell.x() + lines) % lines) * leds + cell.y();
        std::sort(expected.begin(), expected.end());
        QCOMPARE(desk.litCells(), expected);
        QCOMPARE(desk.stack()->count(), steps);
    }

    // The cell cursor shows only while the design has the focus and no tool's panel has it.
    void cellCursorShows()
    {
        Desk desk(64, 16);
        CellCursor* cursor = desk.palette.getCursor(&desk.panel);
        QVERIFY(QTest::qWaitForWindowActive(&desk.panel));
        desk.panel.clearFocus();
        QVERIFY(!cursor->isShown());
        desk.panel.setFocus();
        QVERIFY(cursor->isShown());
        desk.tool<TextTool>("text");
        QVERIFY(!cursor->isShown());
        desk.tool<PenTool>("pen");
        QVERIFY(cursor->isShown());
        desk.panel.clearFocus();
        QVERIFY(!cursor->isShown());
    }

    void inkShareOfAField_data()
    {
        QTest::addColumn<QRgb>("colour");
        QTest::addColumn<int>("threshold");
        QTest::addColumn<QString>("mode");
        QTest::addColumn<double>("share");
        const auto grey = [](int level, int alpha = 255) {
            return qRgba(level, level, level, alpha);
        };
        // 16 x 255 / 32 is 127.5: the grey level is truncated, not rounded.
        QTest::newRow("pure green is grey 127") << qRgb(0, 255, 0) << 128 << "" << 1.0;
        QTest::newRow("alpha 128 is never ink") << grey(0, 128) << 128 << "" << 0.0;
        QTest::newRow("threshold 0 leaves black empty") << grey(0) << 0 << "" << 0.0;
        QTest::newRow("inverted, transparent white stays empty")
            << grey(255, 128) << 128 << "invert" << 0.0;
        QTest::newRow("dithered dark grey") << grey(64) << 128 << "dither" << 0.75;
        // With dither the threshold is the grey that comes out as half dots.
        QTest::newRow("dithered dark grey at its own threshold")
            << grey(64) << 64 << "dither" << 0.5;
    }

    void inkShareOfAField()
    {
        QFETCH(QRgb, colour);
        QFETCH(QString, mode);
        QImage field(64, 64, QImage::Format_ARGB32);
        field.fill(colour);
        ImageConverter converter;
        QFETCH(int, threshold);
        converter.threshold = threshold;
        converter.invert = mode == "invert";
        converter.dither = mode == "dither";
        const QImage ink = converter.toInk(field).convertToFormat(QImage::Format_ARGB32);
        const auto* pixels = reinterpret_cast<const QRgb*>(ink.constBits());
        const int inked = int(std::count(pixels, pixels + 4096, 0xFF000000u));
        QCOMPARE(inked + int(std::count(pixels, pixels + 4096, 0u)), 4096);
        QFETCH(double, share);
        QVERIFY2(qAbs(inked / 4096.0 - share) <= 0.03, qPrintable(QString::number(inked)));
    }

    // Below the threshold the greys spread over 0 to 128: grey 180 at threshold 255 is level
    // 90, whose error (39) lifts the next pixel of the same grey to light.
    void ditherSpread()
    {
        QImage pair(2, 1, QImage::Format_ARGB32);
        pair.fill(qRgb(180, 180, 180));
        ImageConverter converter;
        converter.threshold = 255;
        converter.dither = true;
        const QImage ink = converter.toInk(pair);
        QCOMPARE(ink.pixel(0, 0), 0xFF000000u);
        QCOMPARE(ink.pixel(1, 0), 0u);
    }

    // A font of the test's own in the font folder: the letter A is two pixels side by side.
    // The entry keeps font, orientation and text for the next text. Text points land along the rim:
    // column 0 at half a turn, rows from the rim inwards, points beyond the rings dropped; a repeat
    // lays them around the wheel.
    void textAlongTheRim()
    {
        const QString path = Resource::directory() + "font/zz-rimglow-test.bdf";
        QFile font(path);
        QVERIFY(font.open(QIODevice::WriteOnly));
        font.write("STARTFONT 2.1\nFONTBOUNDINGBOX 2 1 0 0\nSTARTCHAR A\nENCODING 65\n"
                   "DWIDTH 3 0\nBBX 2 1 0 0\nBITMAP\nC0\nENDCHAR\nENDFONT\n");
        font.close();
        const auto removeFont = qScopeGuard([&] { QFile::remove(path); });
        Desk desk(100, 16);
        BitFont* entry = desk.tool<TextTool>("text")->getEntry();
        QComboBox* fonts = child<QComboBox>(entry);
        fonts->setCurrentIndex(fonts->findText("zz-rimglow-test"));
        child<QPushButton>(entry, 0)->click();
        child<QLineEdit>(entry)->setText("A");
        desk.writeText();
        QCOMPARE(desk.litCells(), (QList<int>{784, 800}));
        entry = desk.tool<TextTool>("text")->getEntry();
        child<QPushButton>(entry, 1)->click();
        desk.writeText();
        QCOMPARE(desk.litCells(), (QList<int>{784, 800, 816}));
        entry = desk.tool<TextTool>("text")->getEntry();
        QVERIFY(child<QPushButton>(entry, 1)->isChecked());
        QCOMPARE(child<QLineEdit>(entry)->text(), QString("A"));

        desk.tool<TextTool>("text")->dataChange(
            {QPoint(0, 0), QPoint(1, 0), QPoint(-1, 0), QPoint(0, 3), QPoint(5, 16)});
        desk.writeText();
        QCOMPARE(desk.litCells(), (QList<int>{784, 800, 803, 816}));
        desk.palette.setDiv(4);
        desk.tool<TextTool>("text")->dataChange({QPoint(0, 0)});
        desk.writeText();
        QCOMPARE(desk.litCells(), (QList<int>{0, 400, 784, 800, 803, 816, 1200}));
    }

    // A bitmap font is read once a run, and again once its file's size or time changed; the
    // text entry then writes with the new letters. A file gone leaves the list and the cache.
    void fontsReadOnce_data()
    {
        QTest::addColumn<QByteArray>("content"); // null: the file is removed
        QTest::addColumn<int>("secondsLater");
        QTest::addColumn<bool>("readAgain");
        QTest::addColumn<Points>("expected");
        const Points two{{0, 0}, {1, 0}};
        QTest::newRow("unchanged") << letterFont("2", "C0") << 0 << false << two;
        QTest::newRow("grown, same time") << letterFont("3", "E0", "COMMENT grown\n") << 0 << true
                                          << Points{{0, 0}, {1, 0}, {2, 0}};
        QTest::newRow("same size, new time")
            << letterFont("2", "80") << 1 << true << Points{{0, 0}};
        QTest::newRow("removed") << QByteArray() << 0 << true << Points();
    }

    void fontsReadOnce()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, secondsLater);
        const QString name = QString("zz-") + QTest::currentDataTag();
        const QString path = Resource::directory() + "font/" + name + ".bdf";
        const auto removeFont = qScopeGuard([&] { QFile::remove(path); });
        const QDateTime then = QDateTime::currentDateTime().addDays(-1);
        QVERIFY(writeFont(path, letterFont("2", "C0"), then));
        const std::shared_ptr<const BDFfont> before = FontCache::shared().font(path);
        QVERIFY(before);
        if (content.isNull())
            QVERIFY(QFile::remove(path));
        else if (content != letterFont("2", "C0"))
            QVERIFY(writeFont(path, content, then.addSecs(secondsLater)));

        BitFont entry(16);
        QComboBox* fonts = child<QComboBox>(&entry, 0);
        const bool listed = !content.isNull();
        QCOMPARE(fonts->findText(name) >= 0, listed);
        // The cache keeps the font as long as its file is in the folder.
        QCOMPARE(before.use_count() > 1, listed);
        if (!listed)
            return;
        QSignalSpy written(&entry, &BitFont::setText);
        fonts->setCurrentIndex(fonts->findText(name));
        child<QLineEdit>(&entry)->setText("A");
        QTEST(written.last().first().value<Points>(), "expected");
        QTEST(FontCache::shared().font(path) != before, "readAgain");
    }

    // With too few rings for any size an empty picture is delivered; the sizes offered and
    // typed in stay within what the rings allow.
    void textSizesWithinTheRings()
    {
        Desk desk(64, 4);
        BitFont::lineText = "Hi";
        // Freed picture memory is reused, as the program arranges it: the tool's picture must
        // not start with what earlier pictures left there.
        tuneMemoryForPictures();
        for (int i = 0; i < 4; ++i)
            QImage(512, 512, QImage::Format_ARGB32_Premultiplied).fill(Qt::red);
        auto* text = desk.tool<TextTool>("text");
        QSignalSpy delivered(text, &Tool::upDate);
        child<QLineEdit>(text->getEntry())->setText("Ho");
        desk.writeText();
        QImage empty(512, 512, QImage::Format_ARGB32_Premultiplied);
        empty.fill(Qt::transparent);
        QCOMPARE(delivered.value(0).value(0).value<QPixmap>().toImage(), empty);

        // Sizes beyond the rings and too small ones typed in are dropped.
        BitFont entry(16);
        QComboBox* fonts = child<QComboBox>(&entry, 0);
        QComboBox* sizes = child<QComboBox>(&entry, 1);
        QCOMPARE(sizes->count(), 12);
        // A system font family, after the bitmap fonts and the separator.
        fonts->setCurrentIndex(fonts->count() - 1);
        for (const char* typed : {"3", "99"}) {
            sizes->lineEdit()->clear();
            QTest::keyClicks(sizes->lineEdit(), typed);
            QTest::keyClick(sizes->lineEdit(), Qt::Key_Return);
            QCOMPARE(sizes->count(), 12);
            QVERIFY(sizes->currentText().toInt() >= 5 && sizes->currentText().toInt() <= 16);
        }
    }
};

RIMGLOW_TEST(DrawingToolsTest)
#include "tst_drawingtools.moc"
