#ifndef MODALANSWERER_H
#define MODALANSWERER_H

#include <QObject>
#include <QStringList>
#include <QTimer>

// While it lives, answers every modal message box and records the title and text of each. The
// boxes are answered with the buttons named by the given texts, in turn; once those are used
// up, or when a box has no such button, with its default button (or its first one).
class ModalAnswerer : public QObject {
public:
    explicit ModalAnswerer(const QStringList& answers = {});

    QStringList titles;
    QStringList texts;

private:
    void answer();

    QStringList answers;
    QTimer timer;
};

#endif
