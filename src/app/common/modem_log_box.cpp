#include "app/common/modem_log_box.h"

#include <QPlainTextEdit>
#include <QTextCursor>

namespace kv820 {

namespace {
QString fromDeviceBytes(std::string_view bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}
}  // namespace

void ModemLogBox::appendLine(std::string_view line) {
    if (!edit_) {
        return;
    }
    // A log line is a line of the edit; an empty edit shows one (empty) line.
    if (edit_->document()->blockCount() > MaxLines) {
        edit_->clear();
    }
    insertAtEnd(fromDeviceBytes(line) + QStringLiteral("\r\n"));
}

void ModemLogBox::appendText(std::string_view text) {
    if (edit_) {
        insertAtEnd(fromDeviceBytes(text));
    }
}

void ModemLogBox::clear() {
    if (edit_) {
        edit_->clear();
    }
}

void ModemLogBox::insertAtEnd(const QString& text) {
    // Always at the end, wherever the operator clicked into the log, and kept in view.
    edit_->moveCursor(QTextCursor::End);
    edit_->insertPlainText(text);
    edit_->moveCursor(QTextCursor::End);
}

}  // namespace kv820
