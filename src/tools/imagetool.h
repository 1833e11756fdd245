#ifndef IMAGETOOL_H
#define IMAGETOOL_H

#include "tool.h"

#include <QPointF>
#include <QSize>

class ImageLabel;
class QGraphicsProxyWidget;

// Places a picture on the wheel: shown as ink in the brush colour on a floating panel that
// the user moves and resizes; OK paints every cell whose sampling point lies on ink.
class ImageTool : public Tool {
    Q_OBJECT
public:
    ImageTool(Tool* other, QPixmap picture);
    ~ImageTool() override;

    void hide() override;
    QString getText() override { return "IMPORT"; }
    void update() override;

    ImageLabel* getPanel() const;
    QGraphicsProxyWidget* getProxy() const { return proxy; }

public slots:
    void toDraw(QPixmap picture);
    void toEnd();
    void toMax();

private:
    // Owned by its proxy on the scene, so it goes with the scene if the view goes first.
    QPointer<ImageLabel> panel;
    QGraphicsProxyWidget* proxy = nullptr;
};

#endif
