#include "core/modem/new_sms_handler.h"

#include "core/modem/new_sms_index.h"
#include "core/modem/report_pieces.h"
#include "core/store/database_error.h"
#include "core/store/gpslog_store.h"

namespace kv820 {

namespace {

constexpr std::string_view ReportMark = "?35";
constexpr std::string_view ReadHeader = "+CMGR:";

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
    const ModemReply reply = context.port.Exchange("at+cmgd=" + index, reply_timeout::Sim);
    LogReply(context, reply.text);
    if (!reply.ok()) {
        // It is read again at the next start; the stored row keeps it from counting twice.
        Log(context, "SMS " + index + " could not be deleted.\r\n");
    }
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
    const ModemReply reply = context.port.Exchange("at+cmgr=" + outcome.index, reply_timeout::Sim);
    LogReply(context, reply.text);

    if (reply.refused()) {
        outcome.kind = NewSmsOutcome::Kind::ReadRefusedKept;
        return Kept(context, std::move(outcome), "could not be read");
    }
    // Only a reply that came whole, with the message itself, says what the message holds.
    if (!reply.ok() || !reply.hasLineStartingWith(ReadHeader)) {
        outcome.kind = NewSmsOutcome::Kind::UnreadKept;
        return Kept(context, std::move(outcome), "was not read completely");
    }
    if (!reply.contains(ReportMark)) {
        DeleteMessage(context, outcome.index);
        outcome.kind = NewSmsOutcome::Kind::NonReportDeleted;
        return outcome;
    }
    const ReportPieces pieces = SplitReportPieces(reply.text);
    if (!pieces.hasEndMark) {
        outcome.kind = NewSmsOutcome::Kind::PartialReportKept;
        return Kept(context, std::move(outcome), "is not a whole report");
    }
    return HandleReport(context, std::move(outcome), pieces);
}

}  // namespace kv820
