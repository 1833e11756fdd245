#ifndef WINDOWHELPERS_H
#define WINDOWHELPERS_H

// What the window tests share: the program's main window and the test tools around it.
#include "app/mainwindow.h"
#include "modalanswerer.h"
#include "model/wheelpanel.h"
#include "product.h"
#include "resources/hiddenfile.h"
#include "resources/resource.h"
#include "testsuite.h"

#include <QtTest>
#include <QtWidgets>

// The main window of a product given as on the command line, the demo product unless told.
struct DemoWindow : Product, MainWindow {
    explicit DemoWindow(const QStringList& options = demo())
        : Product(options)
        , MainWindow(Product::configuration.get())
    {
    }
};

// Switches the interface to a language, as its menu entry does.
inline void chooseLanguage(const QString& code)
{
    for (QAction* language : Resource::getLanguageMenu()->actions())
        if (language->data() == code)
            language->trigger();
}

// The command showing the text of a key in the current language, wherever it lives; for
// "UNDO", the undo command, whose text names the step.
inline QAction* entry(MainWindow* window, const QString& key)
{
    QList<QAction*> actions = window->findChildren<QAction*>();
    for (QAction* title : window->menuBar()->actions())
        if (title->menu())
            actions << title->menu()->actions();
    for (QAction* action : actions)
        if (action->text() == Resource::getText(key) ||
            (key == "UNDO" && action->shortcut() == QKeySequence::Undo))
            return action;
    return nullptr;
}

inline QStringList captions(MainWindow* window)
{
    QStringList texts;
    for (int i = 0; i < window->getTabs()->count(); ++i)
        texts << window->getTabs()->tabText(i);
    return texts;
}

// Paints one cell of the current picture, as a tool result would.
inline void ink(MainWindow* window, QPoint at = QPoint(256, 100), int alpha = 255)
{
    QPixmap dot(512, 512);
    dot.fill(Qt::transparent);
    QPainter(&dot).fillRect(QRect(at, QSize(8, 8)), QColor(0, 0, 0, alpha));
    window->setPixmap(dot, QPainter::CompositionMode_SourceOver, "DRAW");
}

#endif
