#include "core/report/report_pieces.h"

namespace kv820 {

ReportPieces splitReportPieces(std::string_view reply) {
    ReportPieces result;
    const std::size_t endMark = reply.find('!');
    result.hasEndMark = endMark != std::string_view::npos;
    std::string_view rest = reply.substr(0, endMark);
    for (std::size_t i = 0; i < ReportPieces::Count; ++i) {
        const std::size_t comma = rest.find(',');
        const std::string_view piece = rest.substr(0, comma);
        result.pieces[i] = std::string(piece.substr(0, ReportPieces::MaxPieceLength));
        if (comma == std::string_view::npos) {
            break;
        }
        rest.remove_prefix(comma + 1);
    }
    return result;
}

}  // namespace kv820
