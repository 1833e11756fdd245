// How the steps a rider waits for grow with the grid: at 128x32, 512x128 and the largest grid,
// 1024x256, the start-up to the first painted window, the drawing steps through the window as a
// user makes them (each with the repaint it causes), encoding a transfer, saving and opening a
// design, and sampling for the simulation. Needs a display; bench/run provides one under Xvfb.

#include "app/mainwindow.h"
#include "app/memorytuning.h"
#include "median.h"
#include "model/design.h"
#include "model/layerwidget.h"
#include "model/wheelpanel.h"
#include "model/wheelweb.h"
#include "product.h"
#include "resources/resource.h"
#include "tools/bitfont.h"
#include "tools/imagelabel.h"
#include "tools/imagetool.h"
#include "tools/texttool.h"
#include "tools/toolwidget.h"
#include "transfer/frameencoder.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMenuBar>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdio>
#include <functional>
#include <vector>

namespace {

QStringList productOf(const QString& grid)
{
    return {"-n", "DEMO", "-s", grid,           "-o", "80",
            "-i", "16",   "-v", "D12x12+D08x8", "-c", "red+blue+redxblue+redxgreenxblue"};
}

// Notes the first paint of anything in one window.
class FirstPaint : public QObject {
public:
    explicit FirstPaint(QWidget* window)
        : window(window)
    {
    }
    bool done = false;

protected:
    bool eventFilter(QObject* object, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && object->isWidgetType() &&
            static_cast<QWidget*>(object)->window() == window)
            done = true;
        return false;
    }

private:
    QWidget* window;
};

// The program's own start without the splash: prints the milliseconds since main() began at
// which the window was first painted.
int openWindow(int argc, char** argv)
{
    QElapsedTimer clock;
    clock.start();
    tuneMemoryForPictures();
    QApplication application(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    Product product(productOf(argv[2]));
    MainWindow window(product.configuration.get());
    FirstPaint paint(&window);
    application.installEventFilter(&paint);
    window.show();
    while (!paint.done)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    std::printf("%.1f\n", clock.nsecsElapsed() / 1e6);
    std::fflush(stdout);
    return 0;
}

double startUp(const QString& grid)
{
    std::vector<double> painted;
    for (int run = 0; run < 5; ++run) {
        QProcess process;
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(QCoreApplication::applicationFilePath(), {"--window", grid});
        if (!process.waitForFinished(60000))
            return -1;
        painted.push_back(process.readAllStandardOutput().trimmed().toDouble());
    }
    return median(painted);
}

QImage noise(const WheelWeb& web, int seed)
{
    QImage picture(512, 512, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setPen(Qt::NoPen);
    QRandomGenerator random(seed);
    for (const QPolygonF& cell : web.getPolygons()) {
        if (random.bounded(2)) {
            painter.setBrush(QColor::fromRgb(random.generate() | 0xff000000));
            painter.drawPolygon(cell);
        }
    }
    return picture;
}

QAction* entry(MainWindow* window, const QString& key)
{
    for (QAction* title : window->menuBar()->actions())
        if (title->menu())
            for (QAction* action : title->menu()->actions())
                if (action->text() == Resource::getText(key))
                    return action;
    return nullptr;
}

struct Row {
    const char* name;
    double target;
    std::vector<double> figures;
};

// The steps in one window of a product with the grid, the interactive ones each followed by
// the repaint it causes, into the rows after the start-up.
void windowSteps(const QSize& grid, QList<Row>& rows)
{
    Product product(productOf(QString("%1x%2").arg(grid.width()).arg(grid.height())));
    MainWindow window(product.configuration.get());
    window.show();
    window.resize(1100, 800);
    if (!QTest::qWaitForWindowExposed(&window))
        std::fprintf(stderr, "bench_scaling: the window was not shown\n");
    WheelPanel* panel = window.getCurrent();
    Design* design = window.getCurrentDesign();
    const WheelWeb web(grid.width(), grid.height(), 80, 16);
    for (int index = 0; index < design->getCount(); ++index)
        design->setPicture(index, noise(web, index));
    QWidget* viewport = panel->viewport();
    // Until the window has painted what changed, as it does before the next input.
    const auto settle = [] { QCoreApplication::processEvents(); };
    settle();
    int row = 1;
    const auto add = [&](double figure) { rows[row++].figures.push_back(figure); };

    add(medianMs(20, [&](int) { viewport->repaint(); }));

    const int cells = int(web.getCenters().size());
    add(medianMs(20, [&](int i) {
        const QPoint from = panel->mapFromScene(web.getCenters()[(i * 7919) % cells]);
        const QPoint to = panel->mapFromScene(web.getCenters()[(i * 7919 + 3) % cells]);
        QTest::mousePress(viewport, Qt::LeftButton, {}, from);
        QTest::mouseMove(viewport, to);
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, to);
        settle();
    }));

    ToolWidget* tools = window.getTools();
    add(medianMs(10, [&](int) {
        entry(&window, "MENU_FILL")->trigger();
        qobject_cast<ImageTool*>(tools->currentTool())->getPanel()->toAdd();
        settle();
    }));

    QImage photo(300, 200, QImage::Format_RGB32);
    photo.fill(Qt::white);
    QPainter(&photo).fillRect(30, 20, 200, 120, Qt::black);
    std::vector<double> oks;
    for (int i = 0; i < 10; ++i) {
        tools->import(QPixmap::fromImage(photo));
        settle();
        auto* image = qobject_cast<ImageTool*>(tools->currentTool());
        QElapsedTimer clock;
        clock.start();
        image->getPanel()->toAdd();
        settle();
        oks.push_back(clock.nsecsElapsed() / 1e6);
    }
    add(median(oks));

    entry(&window, "MENU_TEXT")->trigger();
    auto* text = qobject_cast<TextTool*>(tools->currentTool());
    auto* field = text->getEntry()->findChild<QLineEdit*>();
    settle();
    add(medianMs(20, [&](int i) {
        QTest::keyClick(field, char('a' + i % 26));
        settle();
    }));
    field->clear();
    text->hide();
    settle();

    const QMap<int, QImage> twelve = design->tickedPictures();
    add(medianMs(5, [&](int) { FrameEncoder::encodeAll(twelve, web, false, 0, 360); }));

    QTemporaryDir folder;
    const QString path = folder.filePath("design.DEMO");
    QString error;
    add(medianMs(5, [&](int) { design->save(path, &error); }));
    add(medianMs(5, [&](int) {
        Design opened(design->getCount(), design->getPictureSize());
        opened.load(path, &error);
    }));
    if (!error.isEmpty())
        std::fprintf(stderr, "bench_scaling: %s\n", qPrintable(error));

    QAction* simulation = entry(&window, "SIMULATION");
    add(medianMs(5, [&](int) {
        simulation->trigger();
        QCoreApplication::processEvents();
    }));
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget != &window && widget->isVisible())
            widget->close();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 2 && qstrcmp(argv[1], "--window") == 0)
        return openWindow(argc, argv);
    tuneMemoryForPictures();
    QApplication application(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    // Other grids may be named on the command line, as "256x64".
    QList<QSize> grids = {{128, 32}, {512, 128}, {1024, 256}};
    if (argc > 1)
        grids.clear();
    for (int i = 1; i < argc; ++i) {
        const QStringList sides = QString(argv[i]).split('x');
        grids << QSize(sides.value(0).toInt(), sides.value(1).toInt());
    }

    QList<Row> rows = {
        {"start-up to the painted window", 300, {}},
        {"the view repainted", 16, {}},
        {"a pen stroke of two cells", 16, {}},
        {"a fill", 16, {}},
        {"the image tool's OK", 16, {}},
        {"a text preview per keystroke", 16, {}},
        {"encoding twelve pictures", 0, {}},
        {"saving a design of twelve", 200, {}},
        {"opening a design of twelve", 200, {}},
        {"the simulation opened (sampling)", 16, {}},
    };
    for (const QSize& grid : grids) {
        rows[0].figures.push_back(startUp(QString("%1x%2").arg(grid.width()).arg(grid.height())));
        windowSteps(grid, rows);
    }

    std::printf("%-34s", "median ms");
    for (const QSize& grid : grids)
        std::printf("%10s", qPrintable(QString("%1x%2").arg(grid.width()).arg(grid.height())));
    std::printf("   target at %dx%d\n", grids.last().width(), grids.last().height());
    for (const Row& row : rows) {
        std::printf("%-34s", row.name);
        for (double figure : row.figures)
            std::printf("%10.1f", figure);
        if (row.target > 0)
            std::printf("   %s %.0f\n", row.figures.back() <= row.target ? "meets" : "MISSES",
                        row.target);
        else
            std::printf("\n");
    }
    return 0;
}
