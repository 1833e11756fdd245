#include "updateclient.h"

#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSaveFile>
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

void UpdateClient::checkVersion(const QString& newProduct, const QString& newBuildDate)
{
    product = newProduct;
    buildDate = newBuildDate;
    get("/download/Rimglow!4/" + product + "/version.php");
}

void UpdateClient::takeReply(int id, bool error)
{
    if (error)
        return;
    if (id == 2) {
        if (body.size() != 10)
            return;
        // The server pads short versions with zero bytes.
        const qsizetype end = body.indexOf('\0');
        const QString version = QString::fromLatin1(end < 0 ? body : body.left(end));
        // Dates in the form YYYY-MM-DD sort as text in the order of time.
        if (buildDate < version)
            get("/download/Rimglow!4/" + product + "/" + version + "/setup.zip");
    } else if (id == 4) {
        // Put in place only when complete: the next start would offer a cut archive.
        QSaveFile archive("setup.zip");
        if (archive.open(QIODevice::WriteOnly) && archive.write(body) == body.size() &&
            archive.flush())
            archive.commit();
    }
}
