#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "app/shell/alerts.h"

namespace kv820::test {

// Records every message instead of showing it, and answers questions from a script.
// Installed for its lifetime.
class AlertRecorder final : public Alerts {
public:
    struct Message {
        QString kind;  // "error", "information" or "question"
        QString caption;
        QString text;
        QWidget* owner;
    };

    AlertRecorder();
    ~AlertRecorder() override;

    void error(QWidget* owner, const QString& text) override;
    void information(QWidget* owner, const QString& caption, const QString& text) override;
    bool question(QWidget* owner, const QString& caption, const QString& text) override;

    // The texts of every message so far, in order.
    QStringList texts() const;
    const std::vector<Message>& messages() const { return messages_; }
    void clear() { messages_.clear(); }

    // The answer to the next questions (true: Yes).
    bool answer = true;

private:
    std::vector<Message> messages_;
};

}  // namespace kv820::test
