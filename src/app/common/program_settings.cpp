#include "app/common/program_settings.h"

namespace kv820 {

QSettings programSettings() {
    return QSettings(QStringLiteral("kv820-callcenter"), QStringLiteral("kv820-callcenter"));
}

}  // namespace kv820
