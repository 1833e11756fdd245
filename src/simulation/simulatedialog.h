#ifndef SIMULATEDIALOG_H
#define SIMULATEDIALOG_H

#include "config/wheelpackage.h"
#include "model/slotplayer.h"

#include <QDialog>
#include <QImage>
#include <QList>

class ArgParser;
class QListWidget;
class QPainter;
class QPushButton;
class Simulator;
class SpeedMeter;

// Shows the current picture on a simulated turning wheel, with a dial for the riding speed
// and the product's colour packages to choose the LED colours. It can play the ticked slots on
// the wheel in turn instead.
class SimulateDialog : public QDialog {
    Q_OBJECT

public:
    SimulateDialog(ArgParser* configuration, QWidget* parent = nullptr);
    ~SimulateDialog() override;

    // The lit state of every LED cell in the grid's order, for lines angular positions of
    // leds LEDs each.
    void toShow(bool* states, int lines, int leds);
    // The lit states of the ticked slots, to play in turn at the rate given (pictures per
    // second).
    void setPlayed(const QList<QList<bool>>& states, int lines, int leds, int rate);

    Simulator* getSimulator() const { return simulator; }
    SpeedMeter* getSpeedMeter() const { return speedMeter; }
    QListWidget* getPackageList() const { return packageList; }
    QPushButton* getExitButton() const { return exitButton; }
    QPushButton* getPlayButton() const { return playButton; }
    SlotPlayer* getPlayer() { return &player; }

protected:
    void closeEvent(QCloseEvent* event) override;

private slots:
    void setSpeed();
    void setColor(int color);
    void play(bool on);

private:
    // What the LEDs of a picture look like turning: a streak for each lit one.
    QImage ledPicture(const bool* states, int lines, int leds);
    void paintPoint(QPainter* painter, int x, int y);

    WheelPackage package;
    SpeedMeter* speedMeter;
    QListWidget* packageList;
    Simulator* simulator;
    QPushButton* exitButton;
    QPushButton* playButton;
    SlotPlayer player;
    QImage still;
    QList<QImage> played;
};

#endif
