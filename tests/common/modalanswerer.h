#ifndef MODALANSWERER_H
#define MODALANSWERER_H

#include <QObject>
#include <QStringList>
#include <QTimer>

// While it lives, answers every modal message box with its default button (or its first one)
// and records the title and text of each box.
class ModalAnswerer : public QObject {
public:
    ModalAnswerer();

    QStringList titles;
    QStringList texts;

private:
    void answer();

    QTimer timer;
};

#endif
