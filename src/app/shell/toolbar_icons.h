#pragma once

#include <QIcon>

namespace kv820 {

// The five 40 x 40 toolbar images, drawn by the program itself.
QIcon UserInformationIcon();
QIcon MapMarkIcon();
QIcon ExportKmlIcon();
QIcon SetupIcon();
QIcon DeleteUserIcon();

}  // namespace kv820
