#pragma once

#include <QPlainTextEdit>
#include <QPointer>
#include <QString>
#include <string_view>

namespace kv820 {

// The modem log of the SMS Command page, as every writer uses it: modem lines (and the
// firmware view's blocks) go through the line rule, which empties the log once it holds
// more than 100 lines and ends each line with a line break; other texts (commands as
// written, replies, status texts) are appended exactly as given. Device bytes are shown as
// Latin-1. Used on the UI thread only; workers post their texts to it.
class ModemLogBox {
  public:
    static constexpr int MaxLines = 100;

    explicit ModemLogBox(QPlainTextEdit* edit) : edit_(edit) {}

    // Empties the log when it holds more than MaxLines lines, then appends `line` and
    // CR LF: a modem line that brings its own CR LF is followed by an empty line.
    void appendLine(std::string_view line);
    // Appends `text` as given, with no line limit.
    void appendText(std::string_view text);
    void clear();

    QPlainTextEdit* edit() const { return edit_; }

  private:
    void insertAtEnd(const QString& text);

    QPointer<QPlainTextEdit> edit_;
};

}  // namespace kv820
