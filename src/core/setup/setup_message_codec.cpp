#include "core/setup/setup_message_codec.h"

#include <optional>

#include "core/common/number_text.h"

namespace kv820 {

namespace {

// Pieces of a reply split at commas: the echo and status, the quoted address, then one
// piece per field.
constexpr std::size_t PiecesBeforeFields = 2;

bool isLineBreak(char c) {
    return c == '\r' || c == '\n';
}

// The text before the module's final "OK" line: the message and its header, without the
// result. A reply cut off before its result is taken whole.
std::string_view withoutFinalOk(std::string_view reply) {
    std::size_t lineStart = 0;
    while (lineStart < reply.size()) {
        std::size_t lineEnd = reply.find('\n', lineStart);
        if (lineEnd == std::string_view::npos) {
            lineEnd = reply.size();
        }
        std::string_view line = reply.substr(lineStart, lineEnd - lineStart);
        while (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        const std::size_t cr = line.rfind('\r');
        if (line.substr(cr == std::string_view::npos ? 0 : cr + 1) == "OK") {
            return reply.substr(0, lineStart);
        }
        lineStart = lineEnd + 1;
    }
    return reply;
}

std::string_view trimLineBreaks(std::string_view text) {
    while (!text.empty() && isLineBreak(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isLineBreak(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::string fieldText(std::string_view piece) {
    return std::string(piece.substr(0, MaxSetupFieldLength));
}

std::string join(std::initializer_list<std::string_view> fields) {
    std::string text;
    for (std::string_view field : fields) {
        text.append(field).push_back(',');
    }
    return text;
}

// A numeric field selects a list entry only when it names one; otherwise the dialog's
// default stays.
void readChoice(const std::string& field, int low, int high, int& target) {
    const std::optional<int> value = leadingInt32(field);
    if (value && *value >= low && *value <= high) {
        target = *value;
    }
}

}  // namespace

std::vector<std::string> DecodeSetupMessage(std::string_view reply, int k) {
    const std::size_t fieldCount = SetupMessageFieldCounts.at(k - 1);
    std::vector<std::string> fields(fieldCount);
    const std::string_view text = withoutFinalOk(reply);
    std::size_t pieceStart = 0;
    for (std::size_t piece = 0; piece < PiecesBeforeFields + fieldCount; ++piece) {
        if (pieceStart > text.size()) {
            break;
        }
        const std::size_t comma = text.find(',', pieceStart);
        const bool last = comma == std::string_view::npos;
        std::string_view content =
            text.substr(pieceStart, last ? std::string_view::npos : comma - pieceStart);
        if (piece >= PiecesBeforeFields) {
            const std::size_t field = piece - PiecesBeforeFields;
            // The first field follows the header's line break; a piece that runs to the
            // end of the text carries the line break before the result.
            if (field == 0 || last) {
                content = trimLineBreaks(content);
            }
            fields[field] = fieldText(content);
        }
        if (last) {
            break;
        }
        pieceStart = comma + 1;
    }
    return fields;
}

SetupFile readSetupFile(const SetupMessageReplies& replies) {
    const std::vector<std::string> first = DecodeSetupMessage(replies[0], 1);
    const std::vector<std::string> second = DecodeSetupMessage(replies[1], 2);
    SetupFile file;
    const std::optional<int> returnEnabled = leadingInt32(first[0]);
    if (returnEnabled == 0 || returnEnabled == 1) {
        file.defaultReturnEnabled = *returnEnabled == 1;
        file.defaultReturnPhone = second[3];
    }
    readChoice(first[1], 1, 10, file.maxGpsFixingTime);
    file.timeZoneOn = first[9] != TimeZoneOffText;
    int mode = static_cast<int>(file.reportMode);
    readChoice(first[10], 0, 2, mode);
    file.reportMode = static_cast<ReportMode>(mode);
    file.reportInterval = first[11];
    readChoice(first[12], 0, 1, file.reportFormat);
    file.numberOfReports = first[13];
    file.simPin = first[14];
    for (std::size_t i = 0; i < file.sosNumbers.size(); ++i) {
        file.sosNumbers[i] = second[i];
    }
    file.reportReturnPhone = second[4];
    return file;
}

SetupMessageTexts EncodeSetupFile(const SetupFile& file, std::string_view timeZoneText) {
    const std::string maxFixTime = std::to_string(file.maxGpsFixingTime);
    const std::string mode = std::to_string(static_cast<int>(file.reportMode));
    const std::string format = std::to_string(file.reportFormat);
    return {
        join({file.defaultReturnEnabled ? "1" : "0", maxFixTime, "", "", "", "", "", "",
              file.userName, file.timeZoneOn ? timeZoneText : TimeZoneOffText, mode,
              file.reportInterval, format, file.numberOfReports, file.simPin}),
        join({file.sosNumbers[0], file.sosNumbers[1], file.sosNumbers[2], file.defaultReturnPhone,
              file.reportReturnPhone, "", ""}),
        join({"5000", "", "", "", "", ""}),
        join({""}),
    };
}

}  // namespace kv820
