#include "core/reception/new_sms_handler.h"

#include "core/alarms/report_alarms.h"
#include "core/report/report_pieces.h"
#include "core/sms/pdu_read_reply.h"
#include "core/store/database.h"
#include "core/store/database_error.h"
#include "core/store/gpslog_store.h"
#include "core/store/store_channels.h"
#include "core/store/transaction.h"

namespace kv820 {

namespace {

constexpr std::string_view ReportMark = "?35";
constexpr std::string_view ReadHeader = "+CMGR:";

void log(NewSmsContext& context, std::string_view text) {
    if (context.log) {
        context.log(text);
    }
}

void logReply(NewSmsContext& context, std::string_view reply) {
    log(context, reply);
    log(context, "\r\n");
}

bool pointReadsAt(NewSmsContext& context, const std::string& store) {
    return context.stores == nullptr ||
           pointReadsAt(context.port, *context.stores, store, context.log);
}

void pointReadsBack(NewSmsContext& context) {
    if (context.stores != nullptr) {
        pointReadsAt(context, context.stores->inUse);
    }
}

void deleteMessages(NewSmsContext& context, const std::vector<MessagePlace>& places) {
    for (const MessagePlace& place : places) {
        if (!pointReadsAt(context, place.store)) {
            continue;  // read again at the next listing; the stored row keeps it single
        }
        const ModemReply reply =
            context.port.exchange("at+cmgd=" + std::to_string(place.index), reply_timeout::Sim);
        logReply(context, reply.text);
        if (!reply.ok()) {
            // It is read again at the next start; the stored row keeps it from counting twice.
            log(context, "SMS " + std::to_string(place.index) + " could not be deleted.\r\n");
        }
    }
}

// Commits the row, and the events the report raises, unless an equal row is stored already
// (a report whose delete failed and that is read again must not appear twice, nor its
// events). Throws DatabaseError; then nothing of it is stored.
bool storeOnce(NewSmsContext& context, const PositionReport& report,
               std::vector<TrackerEvent>& events) {
    GpslogStore& store = *context.store;
    const GpslogRow row = toGpslogRow(report);
    if (store.contains(row)) {
        return false;
    }
    Transaction transaction(store.database());
    if (!store.append(row)) {
        return false;  // another receiver stored a copy of it a moment ago
    }
    try {
        if (context.alarms) {
            events = context.alarms->storeEventsOf(report, context.now);
        }
        store.database().notify(StoredChannel);  // the desks look when it is committed
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

NewSmsOutcome kept(NewSmsContext& context, NewSmsOutcome outcome, NewSmsOutcome::Kind kind,
                   const std::string& why) {
    outcome.kind = kind;
    log(context,
        "SMS " + std::to_string(outcome.index) + " " + why + "; it stays in the modem.\r\n");
    return outcome;
}

NewSmsOutcome handleReport(NewSmsContext& context, NewSmsOutcome outcome,
                           const ReportPieces& pieces, const std::vector<MessagePlace>& places) {
    outcome.report = decodePositionReport(pieces, context.users.snapshot());
    try {
        if (context.store == nullptr) {
            throw DatabaseError("no database connection");
        }
        const bool added = storeOnce(context, *outcome.report, outcome.events);
        outcome.kind =
            added ? NewSmsOutcome::Kind::ReportStored : NewSmsOutcome::Kind::ReportAlreadyStored;
    } catch (const DatabaseError& error) {
        outcome.failure = error.what();
        const std::string why = "is a report that could not be stored (" + outcome.failure + ")";
        return kept(context, std::move(outcome), NewSmsOutcome::Kind::StoreFailed, why);
    }
    deleteMessages(context, places);
    return outcome;
}

// A whole message, in the shape of a text-mode read reply.
NewSmsOutcome handleMessageText(NewSmsContext& context, NewSmsOutcome outcome,
                                std::string_view replyText,
                                const std::vector<MessagePlace>& places) {
    if (replyText.find(ReportMark) == std::string_view::npos) {
        deleteMessages(context, places);
        outcome.kind = NewSmsOutcome::Kind::NonReportDeleted;
        return outcome;
    }
    const ReportPieces pieces = splitReportPieces(replyText);
    if (!pieces.hasEndMark) {
        return kept(context, std::move(outcome), NewSmsOutcome::Kind::PartialReportKept,
                    "is not a whole report");
    }
    return handleReport(context, std::move(outcome), pieces, places);
}

NewSmsOutcome handleJoined(NewSmsContext& context, const ConcatenatedMessages::Joined& joined,
                           std::string_view status) {
    NewSmsOutcome outcome;
    outcome.places = joined.places;
    outcome.index = outcome.places.front().index;
    const std::string reply = textModeReadReply(std::to_string(outcome.index), status,
                                                joined.sender, joined.timestampText, joined.text);
    if (!joined.whole) {
        // A report with a part missing would be stored with its fields shifted.
        log(context, "A message of " + joined.sender + " did not arrive whole.\r\n");
        if (!joined.startsAtFirstPart || joined.text.find(ReportMark) != std::string::npos) {
            return kept(context, std::move(outcome), NewSmsOutcome::Kind::PartialReportKept,
                        "is a part of a message that did not arrive whole");
        }
    }
    return handleMessageText(context, std::move(outcome), reply, joined.places);
}

NewSmsOutcome handlePduRead(NewSmsContext& context, NewSmsOutcome outcome,
                            const ModemReply& reply) {
    const std::optional<PduRead> read = pduReadFromReply(reply);
    if (!read || !read->message) {
        return kept(context, std::move(outcome), NewSmsOutcome::Kind::UndecodableKept,
                    "is no message that can be decoded");
    }
    const SmsPduMessage& message = *read->message;
    log(context, readableLine(message));
    if (message.kind == SmsPduMessage::Kind::StatusReport) {
        deleteMessages(context, outcome.places);
        outcome.kind = NewSmsOutcome::Kind::NonReportDeleted;
        return outcome;
    }
    if (message.part && message.part->total > 1 && context.parts != nullptr) {
        const auto now = context.port.clock().now();
        const auto joined = context.parts->add(outcome.places.front(), message, now);
        if (!joined) {
            return kept(context, std::move(outcome), NewSmsOutcome::Kind::PartKept,
                        "is a part of a longer message and waits for the rest");
        }
        return handleJoined(context, *joined, read->status);
    }
    const std::string text = textModeReadReply(std::to_string(outcome.index), read->status,
                                               message.sender, message.timestampText, message.text);
    const std::vector<MessagePlace> places = outcome.places;
    return handleMessageText(context, std::move(outcome), text, places);
}

NewSmsOutcome readAndHandle(NewSmsContext& context, NewSmsOutcome outcome) {
    const ModemReply reply =
        context.port.exchange("at+cmgr=" + std::to_string(outcome.index), reply_timeout::Sim);
    logReply(context, reply.text);
    if (reply.refused()) {
        return kept(context, std::move(outcome), NewSmsOutcome::Kind::ReadRefusedKept,
                    "could not be read");
    }
    // Only a reply that came whole, with the message itself, says what the message holds.
    if (!reply.ok() || !reply.hasLineStartingWith(ReadHeader)) {
        return kept(context, std::move(outcome), NewSmsOutcome::Kind::UnreadKept,
                    "was not read completely");
    }
    if (context.mode == MessageMode::Pdu) {
        return handlePduRead(context, std::move(outcome), reply);
    }
    const std::vector<MessagePlace> places = outcome.places;
    return handleMessageText(context, std::move(outcome), reply.text, places);
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
    if (!pointReadsAt(context, place.store)) {
        outcome = kept(context, std::move(outcome), NewSmsOutcome::Kind::ReadRefusedKept,
                       "could not be read");
    } else {
        outcome = readAndHandle(context, std::move(outcome));
    }
    pointReadsBack(context);
    return outcome;
}

std::vector<NewSmsOutcome> processOverdueParts(NewSmsContext& context) {
    std::vector<NewSmsOutcome> outcomes;
    if (context.parts == nullptr) {
        return outcomes;
    }
    for (const ConcatenatedMessages::Joined& joined :
         context.parts->takeOverdue(context.port.clock().now())) {
        outcomes.push_back(handleJoined(context, joined, "REC READ"));
        pointReadsBack(context);
    }
    return outcomes;
}

}  // namespace kv820
