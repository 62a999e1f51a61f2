#include "app/common/app_services.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QStringList>

namespace kv820 {

namespace {

// Every text is shown as it is written: a message may quote what came from outside (a
// fence's name in an imported file), which must never be taken for markup.
QMessageBox::StandardButton showBox(QMessageBox::Icon icon, QWidget* owner, const QString& caption,
                                    const QString& text, QMessageBox::StandardButtons buttons) {
    QMessageBox box(icon, caption, text, buttons, owner);
    box.setTextFormat(Qt::PlainText);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

class MessageBoxes final : public Alerts {
  public:
    void error(QWidget* owner, const QString& text) override {
        showBox(QMessageBox::Critical, owner, QStringLiteral("ERROR"), text, QMessageBox::Ok);
    }
    void information(QWidget* owner, const QString& caption, const QString& text) override {
        showBox(QMessageBox::Information, owner, caption, text, QMessageBox::Ok);
    }
    bool question(QWidget* owner, const QString& caption, const QString& text) override {
        return showBox(QMessageBox::Question, owner, caption, text,
                       QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
    }
    void errorWithoutWaiting(QWidget* owner, const QString& text,
                             std::function<void()> closed) override {
        auto* box = new QMessageBox(QMessageBox::Critical, QStringLiteral("ERROR"), text,
                                    QMessageBox::Ok, owner);
        box->setTextFormat(Qt::PlainText);
        box->setAttribute(Qt::WA_DeleteOnClose);
        QObject::connect(box, &QMessageBox::finished, box,
                         [closed = std::move(closed)] { closed(); });
        box->open();  // modal to its window, but no nested event loop: nothing waits
    }
};

class FileDialogs final : public FileChooser {
  public:
    std::optional<SaveChoice> chooseSaveFile(QWidget* owner,
                                             const std::vector<FileFilter>& filters) override {
        QFileDialog dialog(owner);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        QStringList texts;
        for (const FileFilter& f : filters) {
            texts << f.text;
        }
        dialog.setNameFilters(texts);
        if (!filters.empty()) {
            dialog.selectNameFilter(filters.front().text);
            dialog.setDefaultSuffix(filters.front().suffix);
        }
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                         [&dialog, &texts, &filters](const QString& chosen) {
                             const auto i = texts.indexOf(chosen);
                             if (i >= 0) {
                                 dialog.setDefaultSuffix(filters[i].suffix);
                             }
                         });
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
            return std::nullopt;
        }
        const int filter = static_cast<int>(texts.indexOf(dialog.selectedNameFilter()));
        return SaveChoice{dialog.selectedFiles().constFirst(), filter < 0 ? 0 : filter};
    }

    std::optional<QString> chooseOpenFile(QWidget* owner,
                                          const std::vector<FileFilter>& filters) override {
        QStringList texts;
        for (const FileFilter& f : filters) {
            texts << f.text;
        }
        const QString path =
            QFileDialog::getOpenFileName(owner, QString(), QString(), texts.join(u";;"));
        return path.isEmpty() ? std::nullopt : std::optional(path);
    }
    std::optional<QString> chooseFolder(QWidget* owner) override {
        const QString path = QFileDialog::getExistingDirectory(owner);
        return path.isEmpty() ? std::nullopt : std::optional(path);
    }
};

class PrintDialogs final : public PrinterChooser {
  public:
    bool choosePrinter(QWidget* owner, QPrinter& printer) override {
        QPrintDialog dialog(&printer, owner);
        return dialog.exec() == QDialog::Accepted;
    }
};

class Browser final : public WebMapOpener {
  public:
    bool open(const QUrl& address) override { return QDesktopServices::openUrl(address); }
};

}  // namespace

Alerts& messageBoxAlerts() {
    static MessageBoxes alerts;
    return alerts;
}

FileChooser& dialogFileChooser() {
    static FileDialogs chooser;
    return chooser;
}

WebMapOpener& browserWebMapOpener() {
    static Browser opener;
    return opener;
}

PrinterChooser& dialogPrinterChooser() {
    static PrintDialogs chooser;
    return chooser;
}

QString withDefaultSuffix(const QString& path, const QString& suffix) {
    if (path.isEmpty() || suffix.isEmpty() || !QFileInfo(path).suffix().isEmpty()) {
        return path;
    }
    return path + QLatin1Char('.') + suffix;
}

}  // namespace kv820
