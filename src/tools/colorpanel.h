#ifndef COLORPANEL_H
#define COLORPANEL_H

#include <QBrush>
#include <QColor>
#include <QMap>
#include <QPainter>
#include <QPixmap>
#include <QWidget>

// The two-colour swatch of the tool palette: blue draws, white erases. Each colour has the
// brush the tools paint with and the mode in which the design applies their result; a click,
// or Space or Enter, swaps the two.
class ColorPanel : public QWidget {
    Q_OBJECT
public:
    class ColorState {
    public:
        ColorState(QBrush brush, QPainter::CompositionMode mode)
            : brush(brush)
            , mode(mode)
        {
        }
        QBrush brush;
        QPainter::CompositionMode mode;
    };

    ColorPanel();
    ~ColorPanel() override;

    QBrush getBrush() const;
    QPainter::CompositionMode getMode() const;
    QColor getForeground() const { return foreground; }

public slots:
    // Draws with the other colour.
    void swap();

signals:
    void brushChange(QBrush brush);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // The tool tip and description of the colour in front.
    void showState();
    void addColor(QColor color, QBrush brush, QPainter::CompositionMode mode);
    void drawColor(QPainter* painter, int x, int y, int width, int height, QColor color);

    QColor foreground;
    QColor background;
    QPixmap checker;
    QMap<unsigned int, ColorState*> states;
};

#endif
