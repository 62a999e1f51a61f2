#include "core/reception/new_sms_handler.h"

#include "core/alarms/report_alarms.h"
#include "core/report/report_pieces.h"
#include "core/sms/pdu_read_reply.h"
#include "core/store/database_error.h"
#include "core/store/gpslog_store.h"
#include "core/store/transaction.h"

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

bool PointReadsAt(NewSmsContext& context, const std::string& store) {
    return context.stores == nullptr ||
           PointReadsAt(context.port, *context.stores, store, context.log);
}

void PointReadsBack(NewSmsContext& context) {
    if (context.stores != nullptr) {
        PointReadsAt(context, context.stores->inUse);
    }
}

void DeleteMessages(NewSmsContext& context, const std::vector<MessagePlace>& places) {
    for (const MessagePlace& place : places) {
        if (!PointReadsAt(context, place.store)) {
            continue;  // read again at the next listing; the stored row keeps it single
        }
        const ModemReply reply =
            context.port.Exchange("at+cmgd=" + std::to_string(place.index), reply_timeout::Sim);
        LogReply(context, reply.text);
        if (!reply.ok()) {
            // It is read again at the next start; the stored row keeps it from counting twice.
            Log(context, "SMS " + std::to_string(place.index) + " could not be deleted.\r\n");
        }
    }
}

// Commits the row, and the events the report raises, unless an equal row is stored already
// (a report whose delete failed and that is read again must not appear twice, nor its
// events). Throws DatabaseError; then nothing of it is stored.
bool StoreOnce(NewSmsContext& context, const PositionReport& report,
               std::vector<TrackerEvent>& events) {
    GpslogStore& store = *context.store;
    const GpslogRow row = ToGpslogRow(report);
    if (store.contains(row)) {
        return false;
    }
    Transaction transaction(store.database());
    store.append(row);
    try {
        if (context.alarms) {
            events = context.alarms->storeEventsOf(report, context.now);
        }
        transaction.commit();
    } catch (...) {
        if (context.alarms) {
            context.alarms->rolledBack();
        }
        events.clear();
        throw;
    }
    if (context.alarms) {
        context.alarms->committed();
    }
    return true;
}

NewSmsOutcome Kept(NewSmsContext& context, NewSmsOutcome outcome, NewSmsOutcome::Kind kind,
                   const std::string& why) {
    outcome.kind = kind;
    Log(context,
        "SMS " + std::to_string(outcome.index) + " " + why + "; it stays in the modem.\r\n");
    return outcome;
}

NewSmsOutcome HandleReport(NewSmsContext& context, NewSmsOutcome outcome,
                           const ReportPieces& pieces, const std::vector<MessagePlace>& places) {
    outcome.report = DecodePositionReport(pieces, context.users.snapshot());
    try {
        if (context.store == nullptr) {
            throw DatabaseError("no database connection");
        }
        const bool added = StoreOnce(context, *outcome.report, outcome.events);
        outcome.kind =
            added ? NewSmsOutcome::Kind::ReportStored : NewSmsOutcome::Kind::ReportAlreadyStored;
    } catch (const DatabaseError& error) {
        outcome.failure = error.what();
        const std::string why = "is a report that could not be stored (" + outcome.failure + ")";
        return Kept(context, std::move(outcome), NewSmsOutcome::Kind::StoreFailed, why);
    }
    DeleteMessages(context, places);
    return outcome;
}

// A whole message, in the shape of a text-mode read reply.
NewSmsOutcome HandleMessageText(NewSmsContext& context, NewSmsOutcome outcome,
                                std::string_view replyText,
                                const std::vector<MessagePlace>& places) {
    if (replyText.find(ReportMark) == std::string_view::npos) {
        DeleteMessages(context, places);
        outcome.kind = NewSmsOutcome::Kind::NonReportDeleted;
        return outcome;
    }
    const ReportPieces pieces = SplitReportPieces(replyText);
    if (!pieces.hasEndMark) {
        return Kept(context, std::move(outcome), NewSmsOutcome::Kind::PartialReportKept,
                    "is not a whole report");
    }
    return HandleReport(context, std::move(outcome), pieces, places);
}

NewSmsOutcome HandleJoined(NewSmsContext& context, const ConcatenatedMessages::Joined& joined,
                           std::string_view status) {
    NewSmsOutcome outcome;
    outcome.places = joined.places;
    outcome.index = outcome.places.front().index;
    const std::string reply = TextModeReadReply(std::to_string(outcome.index), status,
                                                joined.sender, joined.timestampText, joined.text);
    if (!joined.whole) {
        // A report with a part missing would be stored with its fields shifted.
        Log(context, "A message of " + joined.sender + " did not arrive whole.\r\n");
        if (!joined.startsAtFirstPart || joined.text.find(ReportMark) != std::string::npos) {
            return Kept(context, std::move(outcome), NewSmsOutcome::Kind::PartialReportKept,
                        "is a part of a message that did not arrive whole");
        }
    }
    return HandleMessageText(context, std::move(outcome), reply, joined.places);
}

NewSmsOutcome HandlePduRead(NewSmsContext& context, NewSmsOutcome outcome,
                            const ModemReply& reply) {
    const std::optional<PduRead> read = PduReadFromReply(reply);
    if (!read || !read->message) {
        return Kept(context, std::move(outcome), NewSmsOutcome::Kind::UndecodableKept,
                    "is no message that can be decoded");
    }
    const SmsPduMessage& message = *read->message;
    Log(context, ReadableLine(message));
    if (message.kind == SmsPduMessage::Kind::StatusReport) {
        DeleteMessages(context, outcome.places);
        outcome.kind = NewSmsOutcome::Kind::NonReportDeleted;
        return outcome;
    }
    if (message.part && message.part->total > 1 && context.parts != nullptr) {
        const auto now = context.port.clock().now();
        const auto joined = context.parts->add(outcome.places.front(), message, now);
        if (!joined) {
            return Kept(context, std::move(outcome), NewSmsOutcome::Kind::PartKept,
                        "is a part of a longer message and waits for the rest");
        }
        return HandleJoined(context, *joined, read->status);
    }
    const std::string text = TextModeReadReply(std::to_string(outcome.index), read->status,
                                               message.sender, message.timestampText, message.text);
    const std::vector<MessagePlace> places = outcome.places;
    return HandleMessageText(context, std::move(outcome), text, places);
}

NewSmsOutcome ReadAndHandle(NewSmsContext& context, NewSmsOutcome outcome) {
    const ModemReply reply =
        context.port.Exchange("at+cmgr=" + std::to_string(outcome.index), reply_timeout::Sim);
    LogReply(context, reply.text);
    if (reply.refused()) {
        return Kept(context, std::move(outcome), NewSmsOutcome::Kind::ReadRefusedKept,
                    "could not be read");
    }
    // Only a reply that came whole, with the message itself, says what the message holds.
    if (!reply.ok() || !reply.hasLineStartingWith(ReadHeader)) {
        return Kept(context, std::move(outcome), NewSmsOutcome::Kind::UnreadKept,
                    "was not read completely");
    }
    if (context.mode == MessageMode::Pdu) {
        return HandlePduRead(context, std::move(outcome), reply);
    }
    const std::vector<MessagePlace> places = outcome.places;
    return HandleMessageText(context, std::move(outcome), reply.text, places);
}

}  // namespace

NewSmsOutcome ProcessNewSms(MessagePlace place, NewSmsContext& context) {
    // One name for each store: the one in use when none is named, none when none is known.
    const std::string inUse = context.stores != nullptr ? context.stores->inUse : "";
    if (place.store.empty() || inUse.empty()) {
        place.store = inUse;
    }
    NewSmsOutcome outcome;
    outcome.index = place.index;
    outcome.places = {place};
    if (!PointReadsAt(context, place.store)) {
        outcome = Kept(context, std::move(outcome), NewSmsOutcome::Kind::ReadRefusedKept,
                       "could not be read");
    } else {
        outcome = ReadAndHandle(context, std::move(outcome));
    }
    PointReadsBack(context);
    return outcome;
}

std::vector<NewSmsOutcome> ProcessOverdueParts(NewSmsContext& context) {
    std::vector<NewSmsOutcome> outcomes;
    if (context.parts == nullptr) {
        return outcomes;
    }
    for (const ConcatenatedMessages::Joined& joined :
         context.parts->takeOverdue(context.port.clock().now())) {
        outcomes.push_back(HandleJoined(context, joined, "REC READ"));
        PointReadsBack(context);
    }
    return outcomes;
}

}  // namespace kv820
