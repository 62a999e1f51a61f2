#include "app/common/database_choice.h"

#include <QFile>

#include "app/common/program_settings.h"
#include "core/store/schema.h"

namespace kv820 {

namespace {

std::string locationOf(const QString& text) {
    // A URL is text; a path is the file system's bytes.
    return text.startsWith(QStringLiteral("postgres")) ? text.toStdString()
                                                       : QFile::encodeName(text).toStdString();
}

}  // namespace

std::string chosenDatabaseLocation(const QString& argument) {
    if (!argument.isEmpty()) {
        return locationOf(argument);
    }
    const QString environment = qEnvironmentVariable("KV820_DATABASE");
    if (!environment.isEmpty()) {
        return locationOf(environment);
    }
    const QString setting = programSettings().value(QStringLiteral("database/location")).toString();
    return setting.isEmpty() ? std::string(DatabaseFileName) : locationOf(setting);
}

}  // namespace kv820
