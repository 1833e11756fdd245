#ifndef HALLDIALOG_H
#define HALLDIALOG_H

#include "bikewidget.h"
#include "hallwidget.h"

#include <QDialog>
#include <QList>
#include <QPixmap>
#include <QSvgRenderer>

class QGroupBox;
class QPushButton;
class QTabWidget;

// Where the hall sensor sits on the bike, as the angle by which every transfer turns the
// pictures. The angle is set on the dial, by a place on the bike or by the wheel stand, and is
// kept only when the user confirms it.
class HallDialog : public QDialog {
    Q_OBJECT
public:
    explicit HallDialog(QWidget* parent = nullptr);
    ~HallDialog() override;

    int getValue() const { return dial.value(); }
    QPixmap icon(int width);

public slots:
    void toFerris();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QSvgRenderer picture;
    HallWidget dial;
    BikeWidget bike;
    QTabWidget* tabs;
    QGroupBox* group;
    QPushButton* okButton;
    QPushButton* cancelButton;
    QList<QObject*> texted;
};

#endif
