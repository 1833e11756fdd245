#include "modalanswerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

ModalAnswerer::ModalAnswerer(const QStringList& answers)
    : answers(answers)
{
    connect(&timer, &QTimer::timeout, this, &ModalAnswerer::answer);
    timer.start(5);
}

void ModalAnswerer::answer()
{
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible() || box->property("answered").toBool())
        return;
    box->setProperty("answered", true);
    titles << box->windowTitle();
    texts << box->text();
    QAbstractButton* button = nullptr;
    if (!answers.isEmpty()) {
        const QString wanted = answers.takeFirst();
        for (QAbstractButton* candidate : box->buttons())
            if (candidate->text() == wanted)
                button = candidate;
    }
    if (!button)
        button = box->defaultButton();
    if (!button && !box->buttons().isEmpty())
        button = box->buttons().first();
    if (button)
        button->click();
    else
        box->reject();
}
