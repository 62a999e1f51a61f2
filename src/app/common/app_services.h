#pragma once

#include <QString>
#include <QUrl>
#include <functional>
#include <optional>
#include <vector>

class QPrinter;
class QWidget;

namespace kv820 {

// What the program asks of the desktop outside its own windows: message boxes, the Save As
// dialog, the browser and the print dialog. Each is an interface, so that a test hands in recorders
// instead; they reach the program in one struct, AppServices, as the port devices reach a port
// worker. Only the UI thread calls them; a worker posts its message to the UI thread and
// goes on.

// The one way the program shows a message box.
class Alerts {
  public:
    virtual ~Alerts() = default;
    // Caption "ERROR", an OK button.
    virtual void error(QWidget* owner, const QString& text) = 0;
    // A caption of the caller's (the setup's "KV820 Setup"), an OK button.
    virtual void information(QWidget* owner, const QString& caption, const QString& text) = 0;
    // Yes and No buttons; true for Yes.
    virtual bool question(QWidget* owner, const QString& caption, const QString& text) = 0;
    // Caption "ERROR", an OK button, shown without waiting for it: returns at once and
    // calls `closed` when the operator has closed the box. By default shown as error()
    // and closed at once.
    virtual void errorWithoutWaiting(QWidget* owner, const QString& text,
                                     std::function<void()> closed) {
        error(owner, text);
        closed();
    }
};

// One entry of a file dialog's type list: "KV820 Files (*.kml)" with its suffix "kml".
struct FileFilter {
    QString text;
    QString suffix;
};

// What the operator confirmed in a Save As dialog: the file and the index of the filter
// that was chosen when confirming.
struct SaveChoice {
    QString path;
    int filter = 0;
};

// The program's file dialogs.
class FileChooser {
  public:
    virtual ~FileChooser() = default;
    // A Save As dialog offering `filters` (the first one chosen at first); the default
    // suffix follows the chosen filter. Nothing when the operator cancels.
    virtual std::optional<SaveChoice> chooseSaveFile(QWidget* owner,
                                                     const std::vector<FileFilter>& filters) = 0;
    // An Open dialog offering `filters`; nothing when the operator cancels.
    virtual std::optional<QString> chooseOpenFile(QWidget* owner,
                                                  const std::vector<FileFilter>& filters) = 0;
    // A dialog choosing an existing folder; nothing when the operator cancels.
    virtual std::optional<QString> chooseFolder(QWidget* owner) = 0;
};

// The printer a document goes to.
class PrinterChooser {
  public:
    virtual ~PrinterChooser() = default;
    // Lets the operator set `printer` up (which printer, or a PDF file, pages, copies); false
    // when the operator cancels.
    virtual bool choosePrinter(QWidget* owner, QPrinter& printer) = 0;
};

// The path with the filter's suffix added when the file name has none of its own.
QString withDefaultSuffix(const QString& path, const QString& suffix);

// Hands a web address to whatever shows it. The result is the opener's own: true when it
// took the address.
class WebMapOpener {
  public:
    virtual ~WebMapOpener() = default;
    virtual bool open(const QUrl& address) = 0;
};

// The desktop's own: QMessageBox, QFileDialog and the default browser. They live for the
// whole program run.
Alerts& messageBoxAlerts();
FileChooser& dialogFileChooser();
WebMapOpener& browserWebMapOpener();
PrinterChooser& dialogPrinterChooser();

// The services one program run uses, handed to every part that needs one (through
// AppContext, or at construction where there is no context). None is owned: what a test
// puts here must outlive whatever it was handed to. By default the desktop's.
struct AppServices {
    Alerts* alerts = &messageBoxAlerts();
    FileChooser* files = &dialogFileChooser();
    WebMapOpener* webMap = &browserWebMapOpener();
    PrinterChooser* printers = &dialogPrinterChooser();
};

}  // namespace kv820
