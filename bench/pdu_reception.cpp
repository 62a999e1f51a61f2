// What PDU mode and the storage poll cost: the CPU for one report handled in PDU mode
// against text mode (read, decode, store, delete, over an answering in-memory modem), and
// the exchanges an idle session makes per minute (a session of one virtual hour).
#include <benchmark/benchmark.h>

#include <filesystem>

#include "core/reception/new_sms_handler.h"
#include "core/reception/sms_session_worker.h"
#include "core/report/position_report.h"
#include "core/report/report_pieces.h"
#include "core/sms/pdu_read_reply.h"
#include "core/store/database.h"
#include "core/store/gpslog_store.h"
#include "core/store/schema.h"
#include "sim/modem_simulator.h"
#include "sim/pdu_format.h"
#include "sim/tracker_report.h"
#include "support/simulated_modem_link.h"
#include "support/virtual_clock.h"

namespace {

using namespace kv820;
using std::chrono::milliseconds;

std::string databaseLocation(const char* name) {
    const auto path = std::filesystem::temp_directory_path() / name;
    std::filesystem::remove(path);
    createDatabase(path.string());
    return path.string();
}

void bmHandleOneReport(benchmark::State& state) {
    const MessageMode mode = state.range(0) ? MessageMode::Pdu : MessageMode::Text;
    const std::string path = databaseLocation("kv820_bench_pdu.mdb");
    Database db(path);
    GpslogStore store(db);
    UserRegistry users;
    users.replace({{"Truck", "0912345678", "354612071234567"}});
    test::VirtualClock clock;
    test::SimulatedModemLink link(clock);
    sim::ModemSimulator& modem = link.modem;
    ComPort port(link, clock);
    port.OpenComPort("bench:");
    port.exchange(mode == MessageMode::Pdu ? "at+cmgf=0" : "at+cmgf=1", reply_timeout::Setting);
    NewSmsContext context{port, users, &store, {}, mode};
    long n = 0;
    for (auto _ : state) {
        // A new GPS moment each time, so that each report is a new row.
        const auto report =
            sim::TrackerReport::at("354612071234567", 121.5, 25.05, 1336780800 + n++);
        const int index = *modem.storeSms("+886912345678", sim::formatReportBody(report));
        benchmark::DoNotOptimize(ProcessNewSms({"", index}, context));
    }
    state.SetLabel(mode == MessageMode::Pdu ? "PDU mode" : "text mode");
}
BENCHMARK(bmHandleOneReport)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The decoding alone (no modem, no database): what PDU mode adds to each report.
void bmDecodeOneReport(benchmark::State& state) {
    const bool pduMode = state.range(0) != 0;
    UserRegistry users;
    users.replace({{"Truck", "0912345678", "354612071234567"}});
    const std::string body =
        sim::formatReportBody(sim::TrackerReport::at("354612071234567", 121.5, 25.05, 1336780800));
    const sim::SmsTimestamp stamp{2012, 5, 12, 0, 0, 5, 32};
    sim::DeliverPduFields fields;
    fields.sender = "+886912345678";
    fields.stamp = stamp;
    fields.text = body;
    const std::string pdu = sim::deliverPdu(fields);
    const std::string textReply =
        textModeReadReply("3", "REC UNREAD", fields.sender, stamp.toText(), body);
    const ModemReply pduReply{"at+cmgr=3\r\r\n+CMGR: 0,," + std::to_string(sim::tpduOctets(pdu)) +
                                  "\r\n" + pdu + "\r\n\r\nOK\r\n",
                              FinalResult::Ok, "OK"};
    for (auto _ : state) {
        std::string reply = textReply;
        if (pduMode) {
            const auto read = pduReadFromReply(pduReply);
            const SmsPduMessage& message = *read->message;
            reply = textModeReadReply("3", read->status, message.sender, message.timestampText,
                                      message.text);
        }
        benchmark::DoNotOptimize(
            toGpslogRow(decodePositionReport(splitReportPieces(reply), users.snapshot())));
    }
    state.SetLabel(pduMode ? "PDU mode" : "text mode");
}
BENCHMARK(bmDecodeOneReport)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

class QuietListener final : public SmsSessionListener {
  public:
    void modemLog(std::string_view) override {}
    void sessionStarted(bool) override {}
    void reportStored(const StoredReportEvent&) override {}
    void reportStoreFailed(const PositionReport&, std::string_view) override {}
    void sessionEnded() override {}
};

void bmIdleSessionExchangesPerMinute(benchmark::State& state) {
    constexpr milliseconds Idle = std::chrono::hours(1);
    const std::string path = databaseLocation("kv820_bench_idle.mdb");
    double perMinute = 0;
    for (auto _ : state) {
        test::VirtualClock clock;
        test::SimulatedModemLink link(clock);
        QuietListener listener;
        UserRegistry users;
        SmsSessionWorker worker(link, clock, users, listener, {"bench:", path});
        // Counted from the start of reception (the first job runs then) for an idle hour.
        long writesAtStart = 0;
        worker.post([&](ComPort&, MessageMode) {
            writesAtStart = link.writes;
            const milliseconds stopAt = clock.now() + Idle;
            link.onActivity = [&worker, &clock, stopAt] {
                if (clock.now() >= stopAt) {
                    worker.requestStop();
                }
            };
        });
        worker.run();
        perMinute = static_cast<double>(link.writes - writesAtStart) / 60.0;
    }
    state.counters["exchanges_per_minute"] = perMinute;
}
BENCHMARK(bmIdleSessionExchangesPerMinute)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
