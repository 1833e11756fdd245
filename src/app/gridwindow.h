#ifndef GRIDWINDOW_H
#define GRIDWINDOW_H

#include <QLabel>

class ArgParser;

// A plain window that shows the LED grid of the configured product.
class GridWindow : public QLabel {
    Q_OBJECT
public:
    explicit GridWindow(ArgParser* configuration, QWidget* parent = nullptr);
    ~GridWindow() override;
};

#endif
