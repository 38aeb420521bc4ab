#include "babadif_download.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSaveFile>
#include <QTimer>
#include <QUrl>

#include "fsys.h"
#include "media_view.h"

namespace tarvo {

DownloadOutcome downloadBabadif(const std::string& url, const std::string& fileFolder, int timeoutMs) {
    const std::string target = fileFolder + "babadif.csv";
    const DownloadOutcome failed{false, babadifFailedText()};
    QByteArray body;
    try {
        makeDirs(fileFolder);
        QNetworkAccessManager manager;
        QNetworkRequest request(QUrl(QString::fromStdString(url)));
        // Always from the site, never a cached copy.
        request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
        request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
        request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
        request.setTransferTimeout(timeoutMs);
        QNetworkReply* reply = manager.get(request);
        QEventLoop loop;
        QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
        QTimer::singleShot(timeoutMs + 1000, &loop, [reply] { reply->abort(); });
        if (!reply->isFinished()) loop.exec();
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        const bool ok = reply->error() == QNetworkReply::NoError && (status == 0 || status == 200);
        body = reply->readAll();
        delete reply;
        if (!ok || !isBabadifBody(std::string_view(body.constData(), static_cast<std::size_t>(body.size()))))
            return failed;
        QSaveFile file(QString::fromStdString(target));
        if (!file.open(QIODevice::WriteOnly) || file.write(body) != body.size() || !file.commit()) return failed;
    } catch (const std::exception&) {
        return failed;
    }
    return {true, babadifDownloadedText(target)};
}

}  // namespace tarvo
