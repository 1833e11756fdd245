#ifndef MENUENTRIES_H
#define MENUENTRIES_H

#include "app/mainwindow.h"
#include "resources/resource.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

// The main window's commands, wherever they live: its own actions and the menus' entries.
inline QList<QAction*> allActions(MainWindow* window)
{
    QList<QAction*> actions = window->findChildren<QAction*>();
    for (QAction* title : window->menuBar()->actions())
        if (title->menu())
            actions << title->menu()->actions();
    return actions;
}

// The command showing the text of a key in the current language.
inline QAction* entry(MainWindow* window, const QString& key)
{
    for (QAction* action : allActions(window))
        if (action->text() == Resource::getText(key))
            return action;
    return nullptr;
}

inline bool hasEntry(MainWindow* window, const QString& key)
{
    return entry(window, key) != nullptr;
}

// The status tips of a menu's checked entries: the choices it marks as current.
inline QStringList checkedEntries(QMenu* menu)
{
    QStringList tips;
    for (QAction* action : menu->actions())
        if (action->isChecked())
            tips << action->statusTip();
    return tips;
}

#endif
