#pragma once

#include <QString>
#include <optional>
#include <vector>

class QWidget;

namespace kv820 {

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

// The program's file dialogs, replaceable so that tests can answer them.
class FileChooser {
  public:
    virtual ~FileChooser() = default;
    // A Save As dialog offering `filters` (the first one chosen at first); the default
    // suffix follows the chosen filter. Nothing when the operator cancels.
    virtual std::optional<SaveChoice> chooseSaveFile(QWidget* owner,
                                                     const std::vector<FileFilter>& filters) = 0;
};

// The program's chooser: QFileDialog unless a test installed something else.
FileChooser& fileChooser();
// Installs `replacement` (not owned); nullptr restores the dialogs.
void installFileChooser(FileChooser* replacement);

// The path with the filter's suffix added when the file name has none of its own.
QString WithDefaultSuffix(const QString& path, const QString& suffix);

}  // namespace kv820
