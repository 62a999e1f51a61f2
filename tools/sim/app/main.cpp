// kv820-sim: a GSM modem or a tracker's GSM module on a pseudo-terminal, for trying the
// call center without hardware and for its end-to-end tests.

#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <iostream>
#include <memory>
#include <random>
#include <string>
#include <thread>

#include "command_line_options.h"
#include "sim/auto_reporter.h"
#include "sim/control_channel.h"
#include "sim/pty_simulator.h"

namespace {

using namespace kv820::sim;

volatile std::sig_atomic_t stopSignal = 0;

void onStopSignal(int) {
    stopSignal = 1;
}

std::unique_ptr<PtySimulator> makeSimulator(const CommandLineOptions& options) {
    std::unique_ptr<PtySimulator> simulator = options.modem
                                                  ? PtySimulator::modem(options.capacity)
                                                  : PtySimulator::tracker(options.tracker);
    simulator->setReplyDelay(std::chrono::milliseconds(options.delayMs));
    for (const ReplyDelayRule& rule : options.replyDelays) {
        simulator->addReplyDelay(rule);
    }
    simulator->setReplySeed(options.seed.value_or(std::random_device{}()));
    simulator->withDevice([&](AtDeviceSimulator& d) { d.setEcho(options.echo); });
    if (options.modem) {
        simulator->withModem([&](ModemSimulator& modem) {
            for (const std::string& imei : options.storedReports) {
                modem.storeSms(ModemSimulator::DefaultSender,
                               formatReportBody(reportFromWords({imei}, 0)));
            }
            for (const std::string& sms : options.storedSms) {
                const auto equals = sms.find('=');
                modem.storeSms(sms.substr(0, equals), sms.substr(equals + 1));
            }
            for (const std::vector<std::string>& words : options.habits) {
                (*habitFromWords(words))(modem.habits());
            }
        });
    }
    return simulator;
}

void runScenario(ControlChannel& channel, const std::string& path) {
    std::ifstream file(path);
    if (!file) {
        std::cerr << "kv820-sim: cannot read scenario " << path << "\n";
        return;
    }
    for (std::string line; !channel.quitRequested() && !stopSignal && std::getline(file, line);) {
        std::cout << channel.execute(line) << std::flush;
    }
}

// Sends the trackers' reports every period while the program has the session open.
class AutoReportClock {
  public:
    AutoReportClock(const CommandLineOptions& options)
        : reporter_(options.trackers), period_(options.autoReportSeconds) {}

    void poll(PtySimulator& simulator) {
        if (period_.count() <= 0 || std::chrono::steady_clock::now() < due_) {
            return;
        }
        due_ = std::chrono::steady_clock::now() + period_;
        simulator.withModem([&](ModemSimulator& modem) {
            if (!modem.sessionOpen()) {
                return;
            }
            for (const TrackerReport& report : reporter_.next(std::time(nullptr))) {
                modem.injectReport(report);
            }
        });
    }

  private:
    AutoReporter reporter_;
    std::chrono::seconds period_;
    std::chrono::steady_clock::time_point due_ = std::chrono::steady_clock::now();
};

// Reads one control line from standard input; false at its end.
bool serveStandardInput(ControlChannel& channel, std::string& partial) {
    char buffer[1024];
    const ssize_t length = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (length <= 0) {
        return false;
    }
    partial.append(buffer, static_cast<std::size_t>(length));
    for (auto end = partial.find('\n'); end != std::string::npos; end = partial.find('\n')) {
        std::cout << channel.execute(partial.substr(0, end)) << std::flush;
        partial.erase(0, end + 1);
    }
    return true;
}

int serve(const CommandLineOptions& options) {
    std::unique_ptr<PtySimulator> simulator = makeSimulator(options);
    if (!options.link.empty()) {
        simulator->setStablePath(options.link);
    }
    std::cout << (options.link.empty() ? simulator->devicePath() : options.link) << std::endl;
    ControlChannel channel(*simulator);
    std::thread scenario;
    if (!options.scenario.empty()) {
        scenario = std::thread([&] { runScenario(channel, options.scenario); });
    }
    AutoReportClock autoReport(options);
    bool stdinOpen = !options.ignoreStdin;
    std::string partial;
    while (!stopSignal && !channel.quitRequested()) {
        pollfd input{STDIN_FILENO, POLLIN, 0};
        const int ready = ::poll(&input, stdinOpen ? 1 : 0, 200);
        if (ready > 0 && !serveStandardInput(channel, partial)) {
            break;
        }
        if (options.modem) {
            autoReport.poll(*simulator);
        }
    }
    stopSignal = 1;
    if (scenario.joinable()) {
        scenario.join();
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::signal(SIGINT, onStopSignal);
    std::signal(SIGTERM, onStopSignal);
    std::signal(SIGPIPE, SIG_IGN);
    CommandLineOptions options;
    try {
        options = parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::exception& error) {
        std::cerr << "kv820-sim: " << error.what() << "\n\n" << usageText();
        return 2;
    }
    if (options.help) {
        std::cout << usageText() << ControlChannel::helpText();
        return 0;
    }
    try {
        return serve(options);
    } catch (const std::exception& error) {
        std::cerr << "kv820-sim: " << error.what() << "\n";
        return 1;
    }
}
