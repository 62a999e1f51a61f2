#include "sim/setup_message_set.h"

#include <initializer_list>

namespace kv820::sim {
namespace {

std::string fieldList(std::initializer_list<std::string> fields) {
    std::string text;
    for (const std::string& field : fields) {
        text += field + ",";
    }
    return text;
}

}  // namespace

std::vector<SetupMessage> setupMessages(const SetupValues& v, SetupMessageLayout layout) {
    const SetupMessage first{
        "+1", fieldList({v.defaultReturnEnabled, v.maxFixTime, "", "", "", "", "", "", v.userName,
                         v.timeZone, v.reportMode, v.reportInterval, v.reportFormat, v.reportCount,
                         v.pin})};
    const SetupMessage second{"+2", fieldList({v.sos1, v.sos2, v.sos3, v.defaultReturnNumber,
                                               v.reportReturnNumber, "", ""})};
    const SetupMessage third{"+3", fieldList({"5000", "", "", "", "", ""})};
    const SetupMessage fourth{"+4", fieldList({""})};
    switch (layout) {
        case SetupMessageLayout::Complete:
            return {first, second, third, fourth};
        case SetupMessageLayout::None:
            return {};
        case SetupMessageLayout::Damaged:
            return {first, third, fourth};
        case SetupMessageLayout::Doubled:
            return {first, second, third, fourth, third};
    }
    return {};
}

std::optional<SetupMessageLayout> setupMessageLayoutFromWord(std::string_view word) {
    if (word == "complete")
        return SetupMessageLayout::Complete;
    if (word == "none")
        return SetupMessageLayout::None;
    if (word == "damaged")
        return SetupMessageLayout::Damaged;
    if (word == "doubled")
        return SetupMessageLayout::Doubled;
    return std::nullopt;
}

}  // namespace kv820::sim
