#pragma once

#include <QThread>

#include "core/reception/event_forwarder.h"

class QNetworkAccessManager;

namespace kv820 {

// Webhook calls over HTTP or HTTPS, on a thread of their own so that neither the session
// nor the window waits for a slow server. Redirects are not followed: a webhook that moved
// is a failure the operator should hear of, not a POST sent on somewhere else.
class HttpWebhookPoster final : public WebhookPoster {
  public:
    // How long a call may take, from the connection to the last byte of the answer.
    static constexpr int TimeoutMs = 15000;

    HttpWebhookPoster();
    // Calls still running are dropped: their forwards stay waiting for the next run.
    ~HttpWebhookPoster() override;
    HttpWebhookPoster(const HttpWebhookPoster&) = delete;
    HttpWebhookPoster& operator=(const HttpWebhookPoster&) = delete;

    void post(const std::string& url, const std::string& body, Done done) override;

  private:
    QThread thread_;
    QObject* context_;                          // lives on thread_
    QNetworkAccessManager* manager_ = nullptr;  // made on thread_ at the first call
};

}  // namespace kv820
