#include "app/alarms/alarm_kind_choice.h"

#include <algorithm>

#include "app/common/program_settings.h"

namespace kv820 {

namespace {

const QString Group = QStringLiteral("alarms");

// The settings key of a kind: its stored text, whose blanks a key would not keep.
QString settingsKey(EventKind kind) {
    return QString::fromLatin1(eventKindText(kind).data(), eventKindText(kind).size())
        .replace(QLatin1Char(' '), QLatin1Char('_'));
}

bool isSwitchable(EventKind kind) {
    const auto& kinds = AlarmKindChoice::Switchable;
    return std::find(kinds.begin(), kinds.end(), kind) != kinds.end();
}

}  // namespace

AlarmKindChoice AlarmKindChoice::load() {
    QSettings settings = programSettings();
    settings.beginGroup(Group);
    AlarmKindChoice choice;
    for (const EventKind kind : Switchable) {
        choice.setRaises(kind, settings.value(settingsKey(kind), true).toBool());
    }
    return choice;
}

void AlarmKindChoice::save() const {
    QSettings settings = programSettings();
    settings.beginGroup(Group);
    for (const EventKind kind : Switchable) {
        settings.setValue(settingsKey(kind), raises(kind));
    }
}

bool AlarmKindChoice::raises(EventKind kind) const {
    if (kind == EventKind::Sos) {
        return true;
    }
    return isSwitchable(kind) && !off_.contains(kind);
}

void AlarmKindChoice::setRaises(EventKind kind, bool raised) {
    if (!isSwitchable(kind)) {
        return;
    }
    if (raised) {
        off_.erase(kind);
    } else {
        off_.insert(kind);
    }
}

}  // namespace kv820
