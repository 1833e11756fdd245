#ifndef MODALANSWERER_H
#define MODALANSWERER_H

#include <QObject>
#include <QStringList>
#include <QTimer>

// While it lives, answers every modal message box and file dialog. The boxes are answered with
// the buttons named by answers, in turn; once those are used up, or when a box has no such
// button, with its default button (or its first one); the title, text and informative text of
// each are recorded.
// An input dialog is given the next answer as its value, and accepted.
// The file dialogs get the paths in turn; an empty path, or a dialog beyond the list, cancels.
// What each file dialog offered before it was answered is recorded.
class ModalAnswerer : public QObject {
public:
    explicit ModalAnswerer(const QStringList& answers = {}, const QStringList& paths = {});

    QStringList titles;
    QStringList texts;
    QStringList details;
    QStringList offered;

private:
    void answer();

    QStringList answers;
    QStringList paths;
    QTimer timer;
};

#endif
