#ifndef LAYEREVENT_H
#define LAYEREVENT_H

#include <QObject>

// Watches a list view for the drag object it makes its child while an internal drag runs.
class LayerEvent : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override;

signals:
    void added();
    void removed();
};

#endif
