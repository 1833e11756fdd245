#ifndef WHERELABEL_H
#define WHERELABEL_H

#include <QLabel>
#include <QString>

class WheelWeb;

// Where the user is, in the status bar: the cell under the pointer as the user counts (angular
// positions from 1, with their angle; LEDs from 1 at the rim), the slot being edited and the
// zoom.
class WhereLabel : public QLabel {
    Q_OBJECT
    // The texts in the current language, with the pointer over a cell and over none.
    Q_PROPERTY(QString cellText READ getCellText WRITE setCellText)
    Q_PROPERTY(QString noCellText READ getNoCellText WRITE setNoCellText)
public:
    explicit WhereLabel(const WheelWeb& web, QWidget* parent = nullptr);
    ~WhereLabel() override;

    QString getCellText() const { return cellText; }
    void setCellText(const QString& text);
    QString getNoCellText() const { return noCellText; }
    void setNoCellText(const QString& text);

public slots:
    // A cell of the grid's list, -1 for none.
    void showCell(int cell);
    // Counted from 0.
    void showSlot(int row);
    void showZoom(double zoom);

private:
    void showAll();

    const WheelWeb& web;
    QString cellText;
    QString noCellText;
    int cell = -1;
    int row = 0;
    double zoom = 1;
};

#endif
