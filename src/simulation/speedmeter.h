#ifndef SPEEDMETER_H
#define SPEEDMETER_H

#include <QDial>
#include <QList>
#include <QPixmap>

// The riding-speed dial of the simulation: its value is the speed in tenths of a mile per hour,
// shown as a glowing needle over an mph scale with the speed in km/h as two digits.
class SpeedMeter : public QDial {
    Q_OBJECT

public:
    SpeedMeter(int mph, QWidget* parent = nullptr);

    const QPixmap& getFace() const { return face; }
    const QPixmap& getNeedle() const { return needle; }
    const QList<QPixmap>& getDigits() const { return digits; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void creatBackgroud();
    void creatArrow();
    void createNumber();

    QPixmap face;
    QPixmap needle;
    QList<QPixmap> digits;
};

#endif
