#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "app/common/alerts.h"

namespace kv820::test {

// Records every message instead of showing it, and answers questions from a script.
// Installed for its lifetime.
class AlertRecorder final : public Alerts {
  public:
    struct Message {
        QString text;
        QWidget* owner;
    };

    AlertRecorder();
    ~AlertRecorder() override;

    void error(QWidget* owner, const QString& text) override;
    void information(QWidget* owner, const QString& caption, const QString& text) override;
    bool question(QWidget* owner, const QString& caption, const QString& text) override;
    // Recorded as an error; the box stays open until closeOpenMessages().
    void errorWithoutWaiting(QWidget* owner, const QString& text,
                             std::function<void()> closed) override;

    // Messages shown without waiting that are still open.
    int openMessages() const { return static_cast<int>(openBoxes_.size()); }
    // The operator closes every such message.
    void closeOpenMessages();

    // The texts of every message so far, in order.
    QStringList texts() const;
    const std::vector<Message>& messages() const { return messages_; }

    // The answer to the next questions (true: Yes).
    bool answer = true;

  private:
    std::vector<Message> messages_;
    std::vector<std::function<void()>> openBoxes_;
};

}  // namespace kv820::test
