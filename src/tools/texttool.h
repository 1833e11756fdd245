#ifndef TEXTTOOL_H
#define TEXTTOOL_H

#include "tool.h"

#include <QPoint>
#include <QVector>

class BitFont;
class QGraphicsProxyWidget;
class QWidget;

// Writes a line of text along the rim: text row r lands on ring r and each text column on one
// angular position, upright text running clockwise over the top of the wheel.
class TextTool : public Tool {
    Q_OBJECT
public:
    explicit TextTool(Tool* other);
    ~TextTool() override;

    void hide() override;
    QString getText() override { return "TEXT"; }
    void update() override;

    BitFont* getEntry() const { return entry; }
    QGraphicsProxyWidget* getProxy() const { return proxy; }

public slots:
    void dataChange(QVector<QPoint> points);
    void toEnd();
    void toImport();

private:
    // Owned by its proxy on the scene, so it goes with the scene if the view goes first.
    QPointer<QWidget> panel;
    BitFont* entry;
    QGraphicsProxyWidget* proxy = nullptr;
    QVector<QPoint> points;
    QPixmap result;
};

#endif
