#pragma once

#include <QSettings>
#include <QString>

namespace kv820::test {

// What the program remembers goes to `folder`, never to the settings of whoever runs the
// tests.
inline void keepSettingsIn(const QString& folder) {
    for (const auto format : {QSettings::NativeFormat, QSettings::IniFormat}) {
        QSettings::setPath(format, QSettings::UserScope, folder);
    }
}

}  // namespace kv820::test
