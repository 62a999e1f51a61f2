#pragma once

#include <QObject>
#include <QString>

namespace kv820 {

// How the command pages reach the modem: the SMS session's port owner runs each send as
// one job on its own thread, so a report arriving meanwhile is neither lost nor mixed
// into the exchange. The pages never touch the port themselves.
class CommandChannel : public QObject {
    Q_OBJECT
  public:
    using QObject::QObject;

    // True while an SMS session is open.
    virtual bool sessionActive() const = 0;
    // Queues one command SMS; false (nothing queued) without a session.
    virtual bool sendCommand(const QString& phone, const QString& text) = 0;

  signals:
    // The queued send has been written and its replies read.
    void commandSent();
    // A session opened or closed.
    void sessionActiveChanged(bool active);
};

}  // namespace kv820
