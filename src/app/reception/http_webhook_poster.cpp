#include "app/reception/http_webhook_poster.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace kv820 {

namespace {

std::string failureOf(QNetworkReply& reply) {
    const int status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status != 0) {
        return status / 100 == 2 ? std::string() : "HTTP " + std::to_string(status);
    }
    return reply.error() == QNetworkReply::NoError ? std::string("no HTTP answer")
                                                   : reply.errorString().toStdString();
}

}  // namespace

HttpWebhookPoster::HttpWebhookPoster() : context_(new QObject) {
    context_->moveToThread(&thread_);
    QObject::connect(&thread_, &QThread::finished, context_, &QObject::deleteLater);
    thread_.setObjectName(QStringLiteral("webhook"));
    thread_.start();
}

HttpWebhookPoster::~HttpWebhookPoster() {
    thread_.quit();
    thread_.wait();
}

void HttpWebhookPoster::post(const std::string& url, const std::string& body, Done done) {
    QMetaObject::invokeMethod(context_, [this, url, body, done = std::move(done)] {
        if (manager_ == nullptr) {
            manager_ = new QNetworkAccessManager(context_);
        }
        QNetworkRequest request(QUrl(QString::fromStdString(url)));
        request.setHeader(QNetworkRequest::ContentTypeHeader,
                          QStringLiteral("application/json; charset=utf-8"));
        request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                             QNetworkRequest::ManualRedirectPolicy);
        request.setTransferTimeout(TimeoutMs);
        QNetworkReply* reply = manager_->post(request, QByteArray::fromStdString(body));
        QObject::connect(reply, &QNetworkReply::finished, reply, [reply, done] {
            done(failureOf(*reply));
            reply->deleteLater();
        });
    });
}

}  // namespace kv820
