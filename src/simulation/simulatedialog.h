#ifndef SIMULATEDIALOG_H
#define SIMULATEDIALOG_H

#include "config/wheelpackage.h"
#include "ledpicture.h"
#include "model/slotplayer.h"

#include <QDialog>
#include <QImage>
#include <QList>
#include <QPointF>

class ArgParser;
class QListWidget;
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
    // The pictures of the ticked slots, to play in turn at the rate given (pictures per second);
    // each is sampled at the cell centres as it is shown.
    void setPlayed(const QList<QImage>& pictures, const QList<QPointF>& centres, int lines,
                   int leds, int rate);
    // What the wheel will light of a picture: every cell's state, in the grid's order.
    static QList<bool> litCells(const QImage& picture, const QList<QPointF>& centres);

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
    QImage ledPicture(const bool* states) const;

    WheelPackage package;
    SpeedMeter* speedMeter;
    QListWidget* packageList;
    Simulator* simulator;
    QPushButton* exitButton;
    QPushButton* playButton;
    SlotPlayer player;
    LedPicture leds;
    int lineCount = 0;
    int ledCount = 0;
    QImage still;
    QList<QImage> played;
    QList<QPointF> centres;
};

#endif
