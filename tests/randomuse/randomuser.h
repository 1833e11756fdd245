#ifndef RANDOMUSER_H
#define RANDOMUSER_H

#include "../app/windowhelpers.h"
#include "model/wheelweb.h"

#include <QHash>
#include <QRandomGenerator>
#include <QSet>

#include <functional>
#include <map>
#include <memory>

class Design;
class WheelProcess;

// A user at the real main window who does what a seeded generator tells: draws, fills, writes,
// imports, undoes, copies, opens and closes tabs, reorders and ticks slots, switches the
// language, saves and opens, sends to a virtual wheel that misbehaves in every way it can, and
// quits with work unsaved. Each action says what it does before it does it; afterwards the
// window is checked for what must always hold.
class RandomUser {
public:
    // note takes the log lines; files go to folder.
    RandomUser(const QStringList& product, quint32 seed, const QString& folder,
               std::function<void(const QString&)> note);
    ~RandomUser();

    // One action; empty when everything holds afterwards, otherwise what did not.
    QString step();

private:
    struct Action {
        const char* name;
        int weight;
        void (RandomUser::*run)();
    };
    // What a design was when it was last saved or made, to be found again at its clean state.
    struct Snapshot {
        int cleanIndex = -1;
        QList<QImage> pictures;
        QList<int> order;
        QStringList ticks;
    };
    static const QList<Action>& actions();

    void draw();
    void chooseTool();
    void cellKeys();
    void cellCommand();
    void fill();
    void text();
    void import();
    void undo();
    void redo();
    void undoToClean();
    void copyPaste();
    void newTab();
    void closeTab();
    void switchTab();
    void tick();
    void chooseRow();
    void dragRow();
    void language();
    void save();
    void open();
    void zoom();
    void wheelOrPan();
    void onionSkin();
    void play();
    void arrangement();
    void hallAngle();
    void transfer();
    void quit();

    int pick(int bound) { return bound > 0 ? int(random.bounded(bound)) : 0; }
    bool chance(int percent) { return pick(100) < percent; }
    void say(const QString& text) { note(text); }
    void fail(const QString& text);
    // Answers the boxes and file dialogs of this action: button texts and paths in turn.
    void answer(const QStringList& buttons, const QStringList& paths = {});
    // Logs what the boxes said so far and stops answering them.
    void answered();
    QAction* command(const QString& key);
    void trigger(const QString& key);
    // Closes, confirms or leaves open a tool that shows a panel on the design.
    void finishTool();
    QString savePath();
    WheelProcess* wheel(const QString& mode);
    void checkWindow();
    void checkDesign(int tab);
    WheelPanel* panel(int tab) const;
    static QList<QImage> rowPictures(const Design* design);

    Product product;
    std::unique_ptr<MainWindow> window;
    WheelWeb web;
    QRandomGenerator random;
    QString folder;
    std::function<void(const QString&)> note;
    std::unique_ptr<ModalAnswerer> boxes;
    QString problem;
    QHash<const Design*, Snapshot> snapshots;
    QSet<const Design*> watched;
    // What each saved file holds, row by row.
    QMap<QString, QList<QImage>> savedFiles;
    std::map<QString, std::unique_ptr<WheelProcess>> wheels;
    int saves = 0;
};

#endif
