#include "updateclient.h"

#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>

namespace {

// Far more than any version answer or update archive; a server sending without end must not
// fill the memory.
const qint64 maxBody = 256 * 1024 * 1024;

} // namespace

UpdateClient::UpdateClient(QString host, int port)
    : host(host)
    , port(port)
{
}

int UpdateClient::get(QString path)
{
    const int id = lastId + 1;
    lastId += 2;

    QUrl url;
    url.setScheme("http");
    url.setHost(host);
    url.setPort(port);
    url.setPath(path);
    QNetworkReply* reply = manager.get(QNetworkRequest(url));
    connect(reply, &QNetworkReply::downloadProgress, reply, [reply](qint64 received, qint64) {
        if (received > maxBody)
            reply->abort();
    });
    connect(reply, &QNetworkReply::finished, this, [this, reply, id] { finished(reply, id); });
    return id;
}

void UpdateClient::finished(QNetworkReply* reply, int id)
{
    reply->deleteLater();
    const bool error = reply->error() != QNetworkReply::NoError;
    body = error ? QByteArray() : reply->readAll();
    emit requestFinished(id, error);
}
