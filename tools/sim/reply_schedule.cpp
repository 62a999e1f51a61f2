#include "sim/reply_schedule.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace kv820::sim {
namespace {

std::string lowerCase(std::string_view text) {
    std::string lower;
    for (char c : text) {
        lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return lower;
}

std::optional<std::chrono::milliseconds> milliseconds(std::string_view text) {
    long long value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end || value < 0) {
        return std::nullopt;
    }
    return std::chrono::milliseconds(value);
}

bool isCommandName(std::string_view name) {
    return !name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
        return std::isalpha(static_cast<unsigned char>(c)) != 0;
    });
}

}  // namespace

std::optional<ReplyDelayRule> replyDelayRuleFromWord(std::string_view word) {
    const auto equals = word.rfind('=');
    if (equals == std::string_view::npos) {
        return std::nullopt;
    }
    ReplyDelayRule rule;
    std::string_view names = word.substr(0, equals);
    for (;;) {
        const auto comma = names.find(',');
        const std::string_view name = names.substr(0, comma);
        if (!isCommandName(name)) {
            return std::nullopt;
        }
        rule.commands.push_back(lowerCase(name));
        if (comma == std::string_view::npos) {
            break;
        }
        names.remove_prefix(comma + 1);
    }
    const std::string_view range = word.substr(equals + 1);
    const auto dash = range.find('-');
    const auto shortest = milliseconds(range.substr(0, dash));
    const auto longest =
        dash == std::string_view::npos ? shortest : milliseconds(range.substr(dash + 1));
    if (!shortest || !longest || *longest < *shortest) {
        return std::nullopt;
    }
    rule.shortest = *shortest;
    rule.longest = *longest;
    return rule;
}

std::string commandName(std::string_view line) {
    std::string name = lowerCase(line);
    if (name.starts_with("at")) {
        name.erase(0, 2);
    }
    if (name.starts_with("+")) {
        name.erase(0, 1);
    }
    return name.substr(0, name.find_first_of("=?"));
}

void ReplySchedule::addRule(ReplyDelayRule rule) {
    rules_.push_back(std::move(rule));
}

ReplySchedule::CommandTimes ReplySchedule::scheduleCommand(std::string_view line, Moment received) {
    const Moment echo = inOrder(received);
    return {echo, inOrder(received + delayOf(line))};
}

ReplySchedule::Moment ReplySchedule::scheduleAnswer(Moment received) {
    return inOrder(received + defaultDelay_);
}

std::chrono::milliseconds ReplySchedule::delayOf(std::string_view line) {
    const std::string name = commandName(line);
    // The latest rule naming the command holds.
    for (auto rule = rules_.rbegin(); rule != rules_.rend(); ++rule) {
        if (std::find(rule->commands.begin(), rule->commands.end(), name) != rule->commands.end()) {
            std::uniform_int_distribution<long long> draw(rule->shortest.count(),
                                                          rule->longest.count());
            return std::chrono::milliseconds(draw(random_));
        }
    }
    return defaultDelay_;
}

ReplySchedule::Moment ReplySchedule::inOrder(Moment due) {
    lastDue_ = std::max(lastDue_, due);
    return lastDue_;
}

}  // namespace kv820::sim
