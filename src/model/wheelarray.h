#ifndef WHEELARRAY_H
#define WHEELARRAY_H

#include <QActionGroup>
#include <QIcon>
#include <QMenu>
#include <QObject>
#include <QPixmap>

class QAction;

// The arrangement menu: the rotational repeat counts the wheel's grid allows (1, and every
// divisor d >= 3 of the angular positions with d * d at most their number). The current count
// is the checked choice.
class WheelArray : public QObject {
    Q_OBJECT
public:
    WheelArray(int lineCount, bool hasHall);
    ~WheelArray() override;

    int getArray() const;
    void setArray(int div);
    QPixmap getBackground(int div) const;
    QIcon createIcon(int count) const;
    QPixmap createArrayIcon(int count) const;
    QMenu* getMenu() { return &menu; }

signals:
    void setDiv(int div);
    void updatePixmap(QPixmap pix);

private slots:
    void updateArrayAction(QAction* action);
    void menuAction();

private:
    static QList<int> counts(int lineCount);

    QMenu menu;
    // The counts offered, the current one checked.
    QActionGroup choices{nullptr};
};

#endif
