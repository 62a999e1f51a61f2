#include "core/trips/day_ledger.h"

#include <algorithm>

#include "core/trips/local_moment.h"

namespace kv820 {

void DayLedger::addReport(std::int64_t moment) {
    ++days_[dayOf(moment)].reports;
}

void DayLedger::addLeg(std::int64_t from, std::int64_t to, double metres) {
    if (to <= from) {
        days_[dayOf(to)].metres += metres;
        return;
    }
    for (std::int64_t day = dayOf(from); day <= dayOf(to); ++day) {
        const std::int64_t seconds =
            std::min(to, (day + 1) * SecondsPerDay) - std::max(from, day * SecondsPerDay);
        Day& totals = days_[day];
        totals.seconds += seconds;
        totals.metres += metres * static_cast<double>(seconds) / static_cast<double>(to - from);
    }
}

void DayLedger::addSpeed(std::int64_t moment, double kmh) {
    double& top = days_[dayOf(moment)].maxSpeedKmh;
    top = std::max(top, kmh);
}

void DayLedger::takeFrom(DayLedger& other) {
    for (const auto& [day, more] : other.days_) {
        Day& totals = days_[day];
        totals.metres += more.metres;
        totals.seconds += more.seconds;
        totals.maxSpeedKmh = std::max(totals.maxSpeedKmh, more.maxSpeedKmh);
        totals.reports += more.reports;
    }
    other.clear();
}

std::vector<DaySummary> DayLedger::summaries() const {
    std::vector<DaySummary> summaries;
    summaries.reserve(days_.size());
    for (const auto& [day, totals] : days_) {
        const double average =
            totals.seconds > 0 ? totals.metres / static_cast<double>(totals.seconds) * 3.6 : 0;
        summaries.push_back({localDateText(day), totals.metres, totals.seconds, totals.maxSpeedKmh,
                             average, totals.reports});
    }
    return summaries;
}

}  // namespace kv820
