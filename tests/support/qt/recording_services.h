#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>
#include <optional>
#include <vector>

#include "app/common/app_services.h"

namespace kv820::test {

// Records every message instead of showing it, and answers questions from a script.
class AlertRecorder final : public Alerts {
  public:
    struct Message {
        QString text;
        QWidget* owner;
    };

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

// Takes every web map address instead of starting a browser, and answers as told.
class RecordingWebMapOpener final : public WebMapOpener {
  public:
    bool open(const QUrl& address) override {
        addresses << address.toString();
        return accept;
    }
    QStringList addresses;
    bool accept = true;
};

// Answers every Save As, Open and folder dialog with a prepared choice (none: cancelled) and keeps
// what it was offered.
class ScriptedFileChooser final : public FileChooser {
  public:
    std::optional<SaveChoice> chooseSaveFile(QWidget* owner,
                                             const std::vector<FileFilter>&) override {
        ++calls;
        this->owner = owner;
        return answer;
    }
    std::optional<QString> chooseOpenFile(QWidget* owner, const std::vector<FileFilter>&) override {
        ++calls;
        this->owner = owner;
        return openAnswer;
    }
    std::optional<QString> chooseFolder(QWidget* owner) override {
        ++calls;
        this->owner = owner;
        return folderAnswer;
    }
    std::optional<SaveChoice> answer;
    std::optional<QString> openAnswer;    // the file an Open dialog is answered with
    std::optional<QString> folderAnswer;  // the folder a folder dialog is answered with
    int calls = 0;
    QWidget* owner = nullptr;
};

// Answers every print dialog by printing to a PDF file (none: cancelled), and counts them.
class PdfPrinterChooser final : public PrinterChooser {
  public:
    bool choosePrinter(QWidget* owner, QPrinter& printer) override;
    std::optional<QString> pdfPath;
    int calls = 0;
    QWidget* owner = nullptr;
};

// The program's services as a test replaces them, all in one place: no message box, no
// file or print dialog and no browser opens, and each records what it was asked. Hand app() to
// the program (AppContext, a setup session, a page); it must outlive what it was handed to.
struct RecordingServices {
    AlertRecorder alerts;
    RecordingWebMapOpener webMap;
    ScriptedFileChooser files;
    PdfPrinterChooser printers;

    AppServices app() { return {&alerts, &files, &webMap, &printers}; }
};

}  // namespace kv820::test
