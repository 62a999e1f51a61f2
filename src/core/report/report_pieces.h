#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace kv820 {

// A read-message reply cut at every ',' up to the first '!' (the end mark of a report
// body). Echo, header and body are cut together, so with the modem's default header
// piece 3 holds the date of the time stamp, piece 4 its time and the start of the body
// ("?" and the IMEI), and pieces 5 to 15 the body fields.
struct ReportPieces {
    static constexpr std::size_t Count = 16;
    static constexpr std::size_t MaxPieceLength = 127;

    std::array<std::string, Count> pieces;
    // True when the reply held the '!' end mark, so the body arrived whole.
    bool hasEndMark = false;

    const std::string& operator[](std::size_t i) const { return pieces[i]; }
};

// Text after the sixteenth piece is ignored; a longer piece keeps its first 127 characters;
// pieces the reply does not reach stay empty.
ReportPieces splitReportPieces(std::string_view reply);

}  // namespace kv820
