#ifndef UPDATECLIENT_H
#define UPDATECLIENT_H

#include <QByteArray>
#include <QNetworkAccessManager>
#include <QObject>
#include <QString>

class QNetworkReply;

// The connection to the vendor's update server. Requests are numbered the way the server
// dialogue counts them: the host is request 1, and every GET takes the next number and the
// connection's close after it the one following, so the first GET is 2 and the second 4.
class UpdateClient : public QObject {
    Q_OBJECT
public:
    UpdateClient(QString host, int port = 80);

    int get(QString path);
    // The body of the request that finished last.
    QByteArray readAll() const { return body; }

    // Asks for the newest version of the product; one newer than the build date is then
    // downloaded into "setup.zip" in the current directory, for the next start to install.
    void checkVersion(const QString& product, const QString& buildDate);
    // The dialogue's next step after a request finished (the requestFinished signal).
    void takeReply(int id, bool error);

signals:
    void requestFinished(int id, bool error);

private:
    void finished(QNetworkReply* reply, int id);

    QNetworkAccessManager manager;
    QString host;
    int port;
    int lastId = 1;
    QByteArray body;
    QString product;
    QString buildDate;
};

#endif
