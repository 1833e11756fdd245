#include "aboutdialog.h"

#include "buildinfo.h"

#include <QKeyEvent>
#include <QPixmap>

AboutDialog::AboutDialog(QString path, QWidget* parent)
    : QLabel(parent, Qt::Popup)
    , notice(new QLabel(this))
{
    const QPixmap picture = QPixmap(path).scaledToWidth(300, Qt::SmoothTransformation);
    setPixmap(picture);
    setCursor(Qt::PointingHandCursor);
    setFixedSize(picture.isNull() ? QSize(300, 169) : picture.size());

    const QString year = QString(BuildInfo::date).section('-', 0, 0);
    notice->setTextFormat(Qt::RichText);
    notice->setOpenExternalLinks(true);
    notice->setText(QString("<span style=\"color:white\">Build(%1)<br>&copy; 2007-%2 "
                            "<a style=\"color:white\" href=\"%3\">%4</a>. All rights reserved."
                            "</span>")
                        .arg(BuildInfo::date, year, BuildInfo::vendorUrl, BuildInfo::vendor));
    notice->adjustSize();
    notice->move(5, height() - notice->height() - 5);
}

void AboutDialog::show()
{
    if (parentWidget()) {
        const QRect frame = parentWidget()->frameGeometry();
        const QPoint centre(frame.left() + frame.width() / 2, frame.top() + frame.height() / 2);
        QRect box = frameGeometry();
        box.moveCenter(centre);
        move(box.topLeft());
    }
    QLabel::show();
}

void AboutDialog::mousePressEvent(QMouseEvent*)
{
    hide();
}

void AboutDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape)
        hide();
    else
        QLabel::keyPressEvent(event);
}
