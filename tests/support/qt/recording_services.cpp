#include "support/qt/recording_services.h"

#include <QPrinter>
#include <utility>

namespace kv820::test {

void AlertRecorder::error(QWidget* owner, const QString& text) {
    messages_.push_back({text, owner});
}

void AlertRecorder::information(QWidget* owner, const QString&, const QString& text) {
    messages_.push_back({text, owner});
}

bool AlertRecorder::question(QWidget* owner, const QString&, const QString& text) {
    messages_.push_back({text, owner});
    return answer;
}

void AlertRecorder::errorWithoutWaiting(QWidget* owner, const QString& text,
                                        std::function<void()> closed) {
    error(owner, text);
    openBoxes_.push_back(std::move(closed));
}

void AlertRecorder::closeOpenMessages() {
    for (const auto& closed : std::exchange(openBoxes_, {})) {
        closed();
    }
}

QStringList AlertRecorder::texts() const {
    QStringList all;
    for (const Message& m : messages_) {
        all << m.text;
    }
    return all;
}

bool PdfPrinterChooser::choosePrinter(QWidget* owner, QPrinter& printer) {
    ++calls;
    this->owner = owner;
    if (!pdfPath) {
        return false;
    }
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(*pdfPath);
    return true;
}

}  // namespace kv820::test
