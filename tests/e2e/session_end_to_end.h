#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/reception/sms_session_worker.h"
#include "e2e/e2e_database.h"
#include "e2e/session_thread.h"
#include "sim/pty_simulator.h"
#include "support/temp_dir.h"

namespace kv820::test {

// A session worker on its thread over a simulated modem, as the application runs it.
class SessionEndToEnd : public ::testing::Test {
  protected:
    SessionEndToEnd() : modem(sim::PtySimulator::modem(128)) { users.replace({Truck}); }

    SmsSessionWorker::Settings settings() const { return {modem->devicePath() + ":", path}; }
    std::unique_ptr<SessionThread> startSession() { return startSession(settings()); }
    std::unique_ptr<SessionThread> startSession(SmsSessionWorker::Settings s) {
        auto session = std::make_unique<SessionThread>(std::move(s), users, listener);
        EXPECT_TRUE(session->waitFor([&] { return !listener.started.empty(); }));
        EXPECT_EQ(listener.started.back(), true);
        return session;
    }

    int inject(int minute) {
        return *modem->withModem(
            [&](sim::ModemSimulator& m) { return m.injectReport(ReportOfMinute(minute)); });
    }
    std::vector<int> indexesInModem() {
        return modem->withModem([](sim::ModemSimulator& m) {
            std::vector<int> indexes;
            for (const auto& message : m.storage().list()) {
                indexes.push_back(message.index);
            }
            return indexes;
        });
    }
    // In the SIM and the modem's own memory alike.
    std::size_t messagesInModem() {
        return modem->withModem([](sim::ModemSimulator& m) { return m.storedCount(); });
    }
    bool logHas(std::string_view text) { return listener.log.find(text) != std::string::npos; }
    std::size_t storedEvents() { return listener.stored.size(); }

    TempDir dir;
    std::string path = CreateRecordsDatabase(dir, {Truck});
    std::unique_ptr<sim::PtySimulator> modem;
    UserRegistry users;
    RecordingListener listener;
};

}  // namespace kv820::test
