#ifndef TEXTFIGURES_H
#define TEXTFIGURES_H

// Figures of the text tool, for the benchmarks that want them: opening the tool as a user sees
// it, and one keystroke's preview. A QApplication must exist.

#include "median.h"
#include "model/design.h"
#include "model/wheelpanel.h"
#include "model/wheelweb.h"
#include "tools/bitfont.h"
#include "tools/pentool.h"
#include "tools/texttool.h"

#include <QElapsedTimer>
#include <QLineEdit>

#include <memory>
#include <vector>

// A design view with a pen, as the main window shows it.
class TextDesk {
public:
    TextDesk(int lines, int leds)
        : web(lines, leds, 80, 16)
        , design(1, web.getOverlay().size())
        , view(&design, web, QPixmap::fromImage(web.getOverlay()))
        , pen(&web, &view, QBrush(QColor(127, 127, 255)), 1)
    {
        view.resize(600, 600);
        view.show();
    }

    // Milliseconds from the text tool's construction until the view has painted it.
    double openingMs()
    {
        QElapsedTimer clock;
        clock.start();
        text = std::make_unique<TextTool>(&pen);
        view.viewport()->repaint();
        return clock.nsecsElapsed() / 1e6;
    }

    // The median milliseconds of one keystroke in the text field, until the preview is ready,
    // typing typed with the font box's entry font (-1: as it stands).
    double keystrokeMs(const QString& typed, int font = -1)
    {
        openingMs();
        auto* field = text->getEntry()->findChild<QLineEdit*>();
        field->clear();
        if (font >= 0)
            text->getEntry()->findChild<QComboBox*>()->setCurrentIndex(font);
        std::vector<double> times;
        for (const QChar letter : typed) {
            QElapsedTimer clock;
            clock.start();
            field->insert(letter);
            times.push_back(clock.nsecsElapsed() / 1e6);
        }
        return median(times);
    }

    WheelWeb web;
    Design design;
    WheelPanel view;
    PenTool pen;
    std::unique_ptr<TextTool> text;
};

// The median milliseconds of a text preview per keystroke on a lines x leds grid, with the
// first bitmap font of the font folder.
inline double textPreviewMs(int lines, int leds)
{
    TextDesk desk(lines, leds);
    return desk.keystrokeMs("Rimglow spins pictures on bicycle wheels!", 0);
}

#endif
