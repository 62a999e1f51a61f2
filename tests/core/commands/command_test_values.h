#pragma once

#include <string>

#include "core/commands/command_outcome.h"
#include "core/commands/command_target.h"
#include "support/command_outcome_printers.h"

// The registered user both command pages send to in these tests, and short ways to write
// the outcomes they expect.
namespace kv820::command_test {

inline const std::string Imei = "354612071234567";
inline const std::string UserPhone = "0912345678";

inline CommandTarget registeredUser() {
    return {true, "car", UserContact{UserPhone, Imei}};
}

inline CommandMessage page(const char* text) {
    return {text, MessageOwner::Page};
}
inline CommandMessage main(const char* text) {
    return {text, MessageOwner::MainWindow};
}
inline CommandSms sms(std::string text) {
    return {UserPhone, std::move(text)};
}

// One row of a page's table: the filled-in form, the target, and what a press gives.
template <class Form>
struct FormCase {
    const char* name;
    Form form;
    CommandOutcome expected;
    CommandTarget target = registeredUser();
};

}  // namespace kv820::command_test
