#include "modalanswerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

ModalAnswerer::ModalAnswerer(const QStringList& answers, const QStringList& paths)
    : answers(answers)
    , paths(paths)
{
    connect(&timer, &QTimer::timeout, this, &ModalAnswerer::answer);
    timer.start(5);
}

void ModalAnswerer::answer()
{
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible() || modal->property("answered").toBool())
        return;
    if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
        dialog->setProperty("answered", true);
        offered << dialog->selectedFiles().value(0);
        const QString path = paths.isEmpty() ? QString() : paths.takeFirst();
        if (path.isEmpty()) {
            dialog->reject();
            return;
        }
        dialog->selectFile(path);
        static_cast<QDialog*>(dialog)->accept(); // public as a QDialog slot
        return;
    }
    if (auto* input = qobject_cast<QInputDialog*>(modal)) {
        input->setProperty("answered", true);
        texts << input->labelText();
        const QString answer = answers.isEmpty() ? QString() : answers.takeFirst();
        if (input->inputMode() == QInputDialog::IntInput && !answer.isEmpty())
            input->setIntValue(answer.toInt());
        else if (!answer.isEmpty())
            input->setTextValue(answer);
        input->accept();
        return;
    }
    auto* box = qobject_cast<QMessageBox*>(modal);
    if (!box)
        return;
    box->setProperty("answered", true);
    titles << box->windowTitle();
    texts << box->text();
    details << box->informativeText();
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
