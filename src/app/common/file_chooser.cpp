#include "app/common/file_chooser.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QStringList>

namespace kv820 {

namespace {

class DialogFileChooser final : public FileChooser {
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
};

DialogFileChooser dialogChooser;
FileChooser* installed = nullptr;

}  // namespace

FileChooser& fileChooser() {
    return installed ? *installed : dialogChooser;
}

void installFileChooser(FileChooser* replacement) {
    installed = replacement;
}

QString WithDefaultSuffix(const QString& path, const QString& suffix) {
    if (path.isEmpty() || suffix.isEmpty() || !QFileInfo(path).suffix().isEmpty()) {
        return path;
    }
    return path + QLatin1Char('.') + suffix;
}

}  // namespace kv820
