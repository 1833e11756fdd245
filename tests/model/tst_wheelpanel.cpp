#include "model/design.h"
#include "model/wheelpanel.h"
#include "testsuite.h"

#include <QApplication>
#include <QMimeData>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <memory>

namespace {

QPixmap filled(const QColor& color, int side = 512)
{
    QPixmap pixmap(side, side);
    pixmap.fill(color);
    return pixmap;
}

} // namespace

class WheelPanelTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

private slots:
    // The view stays light around the wheel whatever the desktop's palette, shows the
    // picture being edited as the design changes, and hands on every local file dropped, to
    // be read by whoever imports them.
    void viewOfADesign()
    {
        const QPalette light = QApplication::palette();
        // Dark window and base, as a dark desktop theme has them.
        QApplication::setPalette(QPalette(QColor(30, 30, 30)));
        Design document(3, QSize(512, 512));
        auto design = std::make_unique<WheelPanel>(&document, filled(Qt::transparent),
                                                   filled(Qt::transparent));
        design->resize(700, 700);
        const auto middle = [&] {
            const QImage shown = design->viewport()->grab().toImage();
            return shown.pixelColor(design->mapFromScene(QPointF(256, 256)));
        };
        QCOMPARE(design->viewport()->grab().toImage().pixelColor(2, 2), QColor(Qt::white));
        QApplication::setPalette(light);
        QImage red(512, 512, QImage::Format_ARGB32_Premultiplied);
        red.fill(Qt::red);
        document.paint(red, QPainter::CompositionMode_SourceOver, "DRAW");
        QCOMPARE(middle(), QColor(Qt::red));
        document.chooseRow(1);
        QCOMPARE(middle(), QColor(Qt::white));
        document.getUndoStack()->undo();
        QCOMPARE(middle(), QColor(Qt::red));
        document.getUndoStack()->undo();
        QCOMPARE(middle(), QColor(Qt::white));

        QSignalSpy dropped(design.get(), &WheelPanel::import);
        QMimeData files;
        const QStringList paths{dir.filePath("one.png"), dir.filePath("two.gif")};
        files.setUrls({QUrl::fromLocalFile(paths[0]), QUrl("https://example.invalid/picture.png"),
                       QUrl::fromLocalFile(paths[1])});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &files, Qt::LeftButton, {});
        QCoreApplication::sendEvent(design->viewport(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &files, Qt::LeftButton, {});
        QCoreApplication::sendEvent(design->viewport(), &drop);
        QCOMPARE(dropped.value(0).value(0).toStringList(), paths);
    }
};

RIMGLOW_TEST(WheelPanelTest)
#include "tst_wheelpanel.moc"
