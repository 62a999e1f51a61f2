#pragma once

#include <QHash>
#include <QPointer>
#include <QString>
#include <memory>

class QPlainTextEdit;
class QWidget;

namespace kv820 {

class Alerts;

// Error messages of a path that must never wait for the operator (the reception of
// reports): each message text is shown at most once at a time, without waiting for its
// box to close. A failure whose message is still open is only counted in the log.
class OneMessagePerKind {
  public:
    explicit OneMessagePerKind(Alerts& alerts) : alerts_(alerts) {}

    // Where repeats are counted; none: repeats go unmentioned.
    void setLog(QPlainTextEdit* log);

    void error(QWidget* owner, const QString& text);

  private:
    Alerts& alerts_;
    QPointer<QPlainTextEdit> log_;
    // Text of each open message -> failures of that kind since it opened. Shared with the
    // boxes' close handlers, which may run after this object is gone.
    std::shared_ptr<QHash<QString, int>> open_ = std::make_shared<QHash<QString, int>>();
};

}  // namespace kv820
