#include "app/common/program_settings.h"

namespace kv820 {

QSettings ProgramSettings() {
    return QSettings(QStringLiteral("kv820-callcenter"), QStringLiteral("kv820-callcenter"));
}

}  // namespace kv820
