#include "app/map/tile_scheme_handler.h"

#include <QBuffer>
#include <QUrl>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>

namespace kv820 {

void registerTileScheme() {
    QWebEngineUrlScheme scheme(TileScheme);
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Host);
    // Not a local scheme: Chromium lets no page load those, not even the program's own
    // from the resources. Only the map's profile serves it, and that profile loads only
    // the program's page.
    scheme.setFlags(QWebEngineUrlScheme::SecureScheme);
    QWebEngineUrlScheme::registerScheme(scheme);
}

TileSchemeHandler::~TileSchemeHandler() = default;

QString TileSchemeHandler::serve(std::unique_ptr<TileSource> source) {
    source_ = std::move(source);
    failed_ = false;
    host_ = QStringLiteral("s%1").arg(++generation_);
    return QStringLiteral("%1://%2/{z}/{x}/{y}").arg(QLatin1String(TileScheme), host_);
}

void TileSchemeHandler::stop() {
    source_.reset();
    host_.clear();
}

void TileSchemeHandler::requestStarted(QWebEngineUrlRequestJob* job) {
    const QUrl url = job->requestUrl();
    if (job->requestMethod() != QByteArrayLiteral("GET") || !source_ || failed_ ||
        url.host() != host_) {
        job->fail(QWebEngineUrlRequestJob::RequestDenied);
        return;
    }
    const auto key = tileKeyFromPath(url.path(QUrl::FullyEncoded).toStdString());
    if (!key) {
        job->fail(QWebEngineUrlRequestJob::UrlInvalid);
        return;
    }
    std::optional<Tile> tile;
    try {
        tile = source_->tile(*key);
    } catch (const TileSourceError& error) {
        failed_ = true;
        job->fail(QWebEngineUrlRequestJob::RequestFailed);
        emit sourceFailed(QString::fromStdString(error.what()));
        return;
    }
    if (!tile) {
        ++missing_;
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    ++served_;
    auto* buffer = new QBuffer(job);
    buffer->setData(QByteArray(tile->bytes.data(), static_cast<qsizetype>(tile->bytes.size())));
    job->reply(QByteArray(mimeTypeOf(tile->format)), buffer);
}

}  // namespace kv820
