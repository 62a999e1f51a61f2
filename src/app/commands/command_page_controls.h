#pragma once

#include <QString>
#include <cstddef>
#include <span>
#include <string_view>

class QComboBox;
class QLineEdit;
class QWidget;

namespace kv820 {

// Building blocks the command pages share: every control gets the objectName tests and
// tools find it by. Their labels are QFormLayout rows, so that each is its input's buddy.

// A drop-down list of `entries`, the first selected.
QComboBox* makeCommandCombo(QWidget* parent, const char* objectName,
                            std::span<const std::string_view> entries);
// A one-line edit that takes at most `maxLength` characters: what is shown is what is sent.
QLineEdit* makeCommandEdit(QWidget* parent, const char* objectName, std::size_t maxLength);

}  // namespace kv820
