#include "../app/windowhelpers.h"
#include "model/autosavesession.h"
#include "model/design.h"
#include "tools/cellcursor.h"

#include <cstdio>

namespace {

// Set for a child process: the options of the product it runs.
const char* const childProduct = "RIMGLOW_TEST_AUTOSAVE_PRODUCT";
// Where the child saves its first design; with "close", it ends cleanly instead of waiting to
// be killed.
const char* const childFile = "RIMGLOW_TEST_AUTOSAVE_FILE";
const char* const childEnding = "RIMGLOW_TEST_AUTOSAVE_ENDING";

// The work of a session: a design saved to a file and changed since, slots moved and unticked and
// another slot current; and a design never saved.
void work(MainWindow* window, const QString& file)
{
    Design* design = window->getCurrentDesign();
    ink(window, QPoint(100, 100));
    QString reason;
    QVERIFY2(design->save(file, &reason), qPrintable(reason));
    ink(window, QPoint(256, 100));
    design->chooseRow(2);
    // A colour at half cover, whose bytes change when stored without it.
    QPixmap dot(512, 512);
    dot.fill(Qt::transparent);
    QPainter(&dot).fillRect(QRect(300, 300, 8, 8), QColor(200, 40, 40, 128));
    window->setPixmap(dot, QPainter::CompositionMode_SourceOver, "DRAW");
    design->moveRow(2, 0);
    design->tick(1, false);
    design->chooseRow(1);
    window->createNew();
    ink(window, QPoint(200, 400));
}

QStringList sessionFolders()
{
    return QDir(AutosaveSession::root()).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
}

QStringList autosaves()
{
    QStringList paths;
    QDirIterator files(AutosaveSession::root(), {"*.png"}, QDir::Files,
                       QDirIterator::Subdirectories);
    while (files.hasNext())
        paths << files.next();
    paths.sort();
    return paths;
}

} // namespace

// Started by the tests below in a process of its own: does the work and waits to be killed,
// or closes cleanly.
class WorkingProgram : public QObject {
    Q_OBJECT
private slots:
    void run()
    {
        DemoWindow window(qEnvironmentVariable(childProduct).split(' '));
        work(&window, qEnvironmentVariable(childFile));
        // Everything above happened before the event loop ran, so one write holds it all.
        for (int i = 0; i < 2; ++i) {
            Design* design = static_cast<WheelPanel*>(window.getTabs()->widget(i))->getDesign();
            QTRY_VERIFY_WITH_TIMEOUT(!window.getAutosaver()->filePath(design).isEmpty(), 30000);
        }
        if (qEnvironmentVariable(childEnding) == "close") {
            ModalAnswerer discard({Resource::getText("NO"), Resource::getText("NO")});
            QVERIFY(window.close());
            return;
        }
        std::printf("autosaved\n");
        std::fflush(stdout);
        // Not for ever, should the test that started it be gone.
        QTest::qWait(120000);
    }
};

class AutosaveTest : public QObject {
    Q_OBJECT
    QTemporaryDir home, files;

private slots:
    void initTestCase()
    {
        // The children and the windows here share a data folder of their own.
        qputenv("HOME", home.path().toLocal8Bit());
        qputenv("RIMGLOW_AUTOSAVE_SECONDS", "0");
    }

    void init()
    {
        QDir(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation))
            .removeRecursively();
    }

    // A design loses its autosave when it is saved, undone back to clean or closed.
    void removed_data()
    {
        QTest::addColumn<QString>("action");
        QTest::newRow("saved") << "save";
        QTest::newRow("undone") << "undo";
        QTest::newRow("closed") << "close";
    }

    void removed()
    {
        QFETCH(QString, action);
        DemoWindow window;
        Design* design = window.getCurrentDesign();
        ink(&window);
        QTRY_VERIFY(QFile::exists(window.getAutosaver()->filePath(design)));
        const QString path = window.getAutosaver()->filePath(design);
        QCOMPARE(autosaves(), QStringList{path});
        if (action == "save") {
            QString reason;
            QVERIFY(design->save(files.filePath("saved.DEMO"), &reason));
        } else if (action == "undo") {
            design->getUndoStack()->undo();
        } else {
            ModalAnswerer discard({Resource::getText("NO")});
            QVERIFY(window.closeTab(0));
        }
        QVERIFY(!QFile::exists(path));
        QVERIFY(window.getAutosaver()->filePath(design).isEmpty());
        // A change after the save is written again.
        if (action != "close") {
            ink(&window, QPoint(300, 300));
            QTRY_VERIFY(QFile::exists(window.getAutosaver()->filePath(design)));
        }
    }

    // A Space run of the keyboard's cell cursor holds a due write back until it ends.
    void notWhileDrawing()
    {
        DemoWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        WheelPanel* view = window.getCurrent();
        view->setFocus();
        ink(&window);
        QTest::keyPress(view, Qt::Key_Space);
        QVERIFY(window.getTools()->getCursor(view)->isHeld());
        // The write fell due at once, and waits.
        QTest::qWait(300);
        QVERIFY(autosaves().isEmpty());
        QTest::keyRelease(view, Qt::Key_Space);
        QTRY_COMPARE(autosaves().size(), 1);
    }

    void recovery_data()
    {
        // The product the killed program ran, how it ended, whether the test damages its
        // first design's autosave, the answer to the question, how many designs it offers and
        // whether its autosaves stay.
        QTest::addColumn<QStringList>("product");
        QTest::addColumn<QString>("ending");
        QTest::addColumn<bool>("damaged");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("offered");
        QTest::addColumn<bool>("kept");
        QTest::newRow("restored") << Product::demo() << "kill" << false << "YES" << 2 << false;
        QTest::newRow("declined") << Product::demo() << "kill" << false << "NO" << 2 << false;
        QTest::newRow("later") << Product::demo() << "kill" << false << "ASK_LATER" << 2 << true;
        QTest::newRow("damaged") << Product::demo() << "kill" << true << "YES" << 1 << false;
        QTest::newRow("other product")
            << Product::demo("OTHER") << "kill" << false << "YES" << 0 << true;
        QTest::newRow("clean exit") << Product::demo() << "close" << false << "YES" << 0 << false;
    }

    void recovery()
    {
        QFETCH(QStringList, product);
        QFETCH(QString, ending);
        QFETCH(bool, damaged);
        QFETCH(QString, answer);
        QFETCH(int, offered);
        QFETCH(bool, kept);
        const QString file = files.filePath("work.DEMO");
        QFile::remove(file);

        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(childProduct, product.join(' '));
        environment.insert(childFile, file);
        environment.insert(childEnding, ending);
        child.setProcessEnvironment(environment);
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(), {"--class", "WorkingProgram"});
        QVERIFY(child.waitForStarted());
        if (ending == "close") {
            QVERIFY(child.waitForFinished(60000));
            QCOMPARE(child.exitCode(), 0);
            QCOMPARE(sessionFolders(), QStringList());
        } else {
            while (!child.readAllStandardOutput().contains("autosaved"))
                QVERIFY2(child.waitForReadyRead(60000), "the child wrote no autosave");
            QCOMPARE(autosaves().size(), 2);
        }
        // The killed program's, before this program writes its own.
        const QStringList left = autosaves();

        DemoWindow reference;
        work(&reference, files.filePath("reference.DEMO"));
        DemoWindow window;
        const int tabs = window.getTabs()->count();
        // While the first program runs, its work is its own.
        if (ending == "kill") {
            ModalAnswerer none;
            window.recover();
            QCOMPARE(none.texts, QStringList());
            child.kill();
            QVERIFY(child.waitForFinished());
        }
        if (damaged) {
            QFile first(left.first());
            QVERIFY(first.open(QIODevice::ReadWrite));
            QVERIFY(first.resize(first.size() / 2));
        }

        QStringList texts;
        {
            ModalAnswerer answerer({Resource::getText(answer)});
            window.recover();
            texts = answerer.texts;
        }
        QCOMPARE(texts.size(), int(damaged) + int(offered > 0));
        if (damaged) {
            const QString aside =
                QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) +
                "/damaged autosaves/" + QFileInfo(left.first()).dir().dirName() + "-" +
                QFileInfo(left.first()).fileName();
            QVERIFY2(texts.first().contains(QDir::toNativeSeparators(aside)),
                     qPrintable(texts.first()));
            QVERIFY(QFile::exists(aside));
        }
        if (offered == 2)
            QVERIFY2(texts.last().contains(Resource::getText("RESTORE_MANY").arg(2)) &&
                         texts.last().contains(QDir::toNativeSeparators(file)) &&
                         texts.last().contains(Resource::getText("UNTITLED") + "2"),
                     qPrintable(texts.last()));
        for (const QString& path : left)
            QCOMPARE(QFile::exists(path), kept);
        if (!left.isEmpty())
            QCOMPARE(QFileInfo::exists(QFileInfo(left.first()).path()), kept);

        const int restored = answer == "YES" ? offered : 0;
        // The untouched first tab gives way to the restored ones.
        QCOMPARE(window.getTabs()->count(), restored > 0 ? restored : tabs);
        for (int i = 0; i < restored; ++i) {
            const int from = 2 - restored + i;
            Design* expected =
                static_cast<WheelPanel*>(reference.getTabs()->widget(from))->getDesign();
            Design* design = static_cast<WheelPanel*>(window.getTabs()->widget(i))->getDesign();
            for (int index = 0; index < expected->getCount(); ++index)
                QVERIFY(design->getPicture(index) == expected->getPicture(index));
            QCOMPARE(design->getList(), expected->getList());
            for (int row = 0; row < expected->getCount(); ++row)
                QCOMPARE(design->isTicked(row), expected->isTicked(row));
            QCOMPARE(design->getCurrentIndex(), expected->getCurrentIndex());
            QCOMPARE(design->getFilePath(), from == 0 ? file : QString());
            if (from == 1)
                QCOMPARE(design->getDisplayName(), Resource::getText("UNTITLED") + "1");
            QVERIFY(design->isModified());
            QCOMPARE(design->getUndoStack()->count(), 0);
            // This program's own work now.
            QVERIFY(QFile::exists(window.getAutosaver()->filePath(design)));
        }
        // Nothing is offered twice, unless the answer was left for later.
        ModalAnswerer again({Resource::getText("ASK_LATER")});
        window.recover();
        QCOMPARE(again.texts.size(), answer == "ASK_LATER" ? 1 : 0);
    }
};

RIMGLOW_TEST(AutosaveTest)
static const int childRegistered =
    qEnvironmentVariableIsSet(childProduct) ? TestSuite::add([] { return new WorkingProgram; }) : 0;

#include "tst_autosave.moc"
