#include "app/common/one_message_per_kind.h"

#include "app/common/app_services.h"
#include "app/common/modem_log_box.h"

namespace kv820 {

void OneMessagePerKind::setLog(QPlainTextEdit* log) {
    log_ = log;
}

void OneMessagePerKind::error(QWidget* owner, const QString& text) {
    if (open_->contains(text)) {
        const int repeats = ++(*open_)[text];
        if (log_) {
            const QString line =
                QStringLiteral("%1 (%2 more while its message is open)").arg(text).arg(repeats);
            ModemLogBox(log_).appendLine(line.toLatin1().toStdString());
        }
        return;
    }
    open_->insert(text, 0);
    alerts_.errorWithoutWaiting(owner, text, [open = std::weak_ptr(open_), text] {
        if (const auto still = open.lock()) {
            still->remove(text);
        }
    });
}

}  // namespace kv820
