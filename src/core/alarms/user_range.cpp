#include "core/alarms/user_range.h"

#include "core/alarms/event_time.h"
#include "core/store/user_store.h"

namespace kv820 {

namespace {

std::string rangeError(const UserRangeRequest& request) {
    for (const std::string* time : {&request.from, &request.to}) {
        if (!isEventTimeText(*time)) {
            return "\"" + *time + "\" is no time of the form YYYY/MM/DD hh:mm:ss.";
        }
    }
    return request.from > request.to ? "The range starts after it ends." : "";
}

}  // namespace

ResolvedUserRange resolveUserRange(Database& db, const UserRangeRequest& request) {
    if (std::string error = rangeError(request); !error.empty()) {
        return {std::nullopt, std::move(error)};
    }
    UserRegistry users;
    LoadUsers(db, users);
    std::optional<UserSlot> user = users.FindUserByName(request.userName);
    if (!user) {
        return {std::nullopt, "No user is named \"" + request.userName + "\"."};
    }
    return {std::move(user), ""};
}

}  // namespace kv820
