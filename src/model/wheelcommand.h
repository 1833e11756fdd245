#ifndef WHEELCOMMAND_H
#define WHEELCOMMAND_H

#include <QPixmap>
#include <QUndoCommand>

class WheelPanel;

// One change of one picture of a design: the picture before and after, and the key that names
// the change in the undo menu.
class WheelCommand : public QUndoCommand {
public:
    WheelCommand(WheelPanel* panel, int index, QPixmap before, QPixmap after, QString text);

    void undo() override;
    void redo() override;

private:
    void print();

    WheelPanel* panel;
    int index;
    QPixmap before;
    QPixmap after;
    QString text;
};

#endif
