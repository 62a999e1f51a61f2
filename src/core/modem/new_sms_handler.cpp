#include "core/modem/new_sms_handler.h"

#include "core/modem/new_sms_index.h"
#include "core/modem/report_pieces.h"
#include "core/store/database_error.h"
#include "core/store/gpslog_store.h"

namespace kv820 {

namespace {

constexpr std::size_t MessageReplySize = 512;
constexpr std::string_view ReportMark = "?35";

void Log(NewSmsContext& context, std::string_view text) {
    if (context.log) {
        context.log(text);
    }
}

void LogReply(NewSmsContext& context, std::string_view reply) {
    Log(context, reply);
    Log(context, "\r\n");
}

void DeleteMessage(NewSmsContext& context, const std::string& index) {
    context.port.SendAtCommand("at+cmgd=" + index);
    LogReply(context, context.port.ReadModemReply(MessageReplySize));
}

// Commits the row unless an equal one is stored already (a report whose delete failed
// and that is read again must not appear twice). Throws DatabaseError.
bool StoreOnce(GpslogStore& store, const GpslogRow& row) {
    if (store.contains(row)) {
        return false;
    }
    store.append(row);
    return true;
}

// True when the reply ends in a refusal ("ERROR", "+CMS ERROR: n", "+CME ERROR: n"): the
// modem could not read the message (SIM busy, for one), which says nothing about what the
// message holds.
bool ReadWasRefused(std::string_view reply) {
    const std::size_t end = FinalResultEnd(reply);
    if (end == std::string_view::npos) {
        return false;
    }
    std::string_view upToResult = reply.substr(0, end);
    while (!upToResult.empty() && (upToResult.back() == '\r' || upToResult.back() == '\n')) {
        upToResult.remove_suffix(1);
    }
    const std::size_t lineStart = upToResult.find_last_of("\r\n");
    const std::string_view result =
        lineStart == std::string_view::npos ? upToResult : upToResult.substr(lineStart + 1);
    return result != "OK" && IsFinalResultLine(result);
}

NewSmsOutcome Kept(NewSmsContext& context, NewSmsOutcome outcome, const std::string& why) {
    Log(context, "SMS " + outcome.index + " " + why + "; it stays in the modem.\r\n");
    return outcome;
}

NewSmsOutcome HandleReport(NewSmsContext& context, NewSmsOutcome outcome,
                           const ReportPieces& pieces) {
    outcome.report = DecodePositionReport(pieces, context.users.snapshot());
    try {
        if (context.store == nullptr) {
            throw DatabaseError("no database connection");
        }
        const bool added = StoreOnce(*context.store, ToGpslogRow(*outcome.report));
        outcome.kind =
            added ? NewSmsOutcome::Kind::ReportStored : NewSmsOutcome::Kind::ReportAlreadyStored;
    } catch (const DatabaseError& error) {
        outcome.kind = NewSmsOutcome::Kind::StoreFailed;
        outcome.failure = error.what();
        const std::string why = "is a report that could not be stored (" + outcome.failure + ")";
        return Kept(context, std::move(outcome), why);
    }
    DeleteMessage(context, outcome.index);
    return outcome;
}

}  // namespace

NewSmsOutcome ProcessNewSms(std::string_view announcementLine, NewSmsContext& context) {
    return ProcessStoredSms(NewSmsIndex(announcementLine), context);
}

NewSmsOutcome ProcessStoredSms(std::string index, NewSmsContext& context) {
    NewSmsOutcome outcome;
    outcome.index = std::move(index);
    context.port.SendAtCommand("at+cmgr=" + outcome.index);
    const std::string reply = context.port.ReadModemReply(MessageReplySize);
    LogReply(context, reply);

    if (ReadWasRefused(reply)) {
        outcome.kind = NewSmsOutcome::Kind::ReadRefusedKept;
        return Kept(context, std::move(outcome), "could not be read");
    }
    const bool whole = FinalResultEnd(reply) != std::string::npos;
    if (reply.find(ReportMark) == std::string::npos) {
        if (!whole) {
            outcome.kind = NewSmsOutcome::Kind::UnreadKept;
            return Kept(context, std::move(outcome), "was not read completely");
        }
        DeleteMessage(context, outcome.index);
        outcome.kind = NewSmsOutcome::Kind::NonReportDeleted;
        return outcome;
    }
    const ReportPieces pieces = SplitReportPieces(reply);
    if (!pieces.hasEndMark) {
        if (!whole) {
            outcome.kind = NewSmsOutcome::Kind::UnreadKept;
            return Kept(context, std::move(outcome), "was not read completely");
        }
        outcome.kind = NewSmsOutcome::Kind::PartialReportKept;
        return Kept(context, std::move(outcome), "is not a whole report");
    }
    return HandleReport(context, std::move(outcome), pieces);
}

}  // namespace kv820
