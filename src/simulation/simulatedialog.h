#ifndef SIMULATEDIALOG_H
#define SIMULATEDIALOG_H

#include "config/wheelpackage.h"

#include <QDialog>

class ArgParser;
class QListWidget;
class QPainter;
class QPushButton;
class Simulator;
class SpeedMeter;

// Shows the current picture on a simulated turning wheel, with a dial for the riding speed
// and the product's colour packages to choose the LED colours.
class SimulateDialog : public QDialog {
    Q_OBJECT

public:
    SimulateDialog(ArgParser* configuration, QWidget* parent = nullptr);
    ~SimulateDialog() override;

    // The lit state of every LED cell in the grid's order, for lines angular positions of
    // leds LEDs each.
    void toShow(bool* states, int lines, int leds);

    Simulator* getSimulator() const { return simulator; }
    SpeedMeter* getSpeedMeter() const { return speedMeter; }
    QListWidget* getPackageList() const { return packageList; }
    QPushButton* getExitButton() const { return exitButton; }

protected:
    void closeEvent(QCloseEvent* event) override;

private slots:
    void setSpeed();
    void setColor(int color);

private:
    void paintPoint(QPainter* painter, int x, int y);

    WheelPackage package;
    SpeedMeter* speedMeter;
    QListWidget* packageList;
    Simulator* simulator;
    QPushButton* exitButton;
};

#endif
