#include "app/commands/command_page_controls.h"

#include <QComboBox>
#include <QLineEdit>

namespace kv820 {

QComboBox* makeCommandCombo(QWidget* parent, const char* objectName,
                            std::span<const std::string_view> entries) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QString::fromLatin1(objectName));
    for (std::string_view entry : entries) {
        combo->addItem(QString::fromUtf8(entry.data(), static_cast<qsizetype>(entry.size())));
    }
    combo->setCurrentIndex(0);
    return combo;
}

QLineEdit* makeCommandEdit(QWidget* parent, const char* objectName, std::size_t maxLength) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(objectName));
    edit->setMaxLength(static_cast<int>(maxLength));
    return edit;
}

}  // namespace kv820
