#ifndef HALLWIDGET_H
#define HALLWIDGET_H

#include <QDial>
#include <QSvgRenderer>

// The dial of the hall-sensor angle, 0 to 360. 0 points the needle straight down and the needle
// turns clockwise as the angle grows. The needle follows the value in steps, so a jump to a
// preset is seen as a turn. The angle kept between runs is the stored one, written only by
// save(); every showing starts from it again.
class HallWidget : public QDial {
    Q_OBJECT
public:
    explicit HallWidget(QWidget* parent = nullptr);

    void toInit();
    int getShownAngle() const { return shownAngle; }

public slots:
    void save();
    void setRealValue(int value);

signals:
    void shift(int numerator, int denominator);

protected:
    void paintEvent(QPaintEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QSvgRenderer face;
    int shownAngle = 0;
    int animationTimer = 0;
};

#endif
