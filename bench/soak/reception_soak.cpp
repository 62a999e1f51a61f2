// Soak run of the unattended receiver: `kv820-callcenter --receive` against `kv820-sim modem`
// for minutes, a report every 100 ms, the modem pulled out every minute and plugged in again
// a few seconds later behind the same name. At the end it counts what the database holds
// and what stayed on the simulated SIM, and how the receiver's resident memory went.
//
//   bench_reception_soak [SECONDS]     (600; exits 1 unless every report is stored once)

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "core/common/number_text.h"
#include "core/store/database.h"
#include "core/store/schema.h"
#include "core/store/statement.h"

extern char** environ;

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr auto ReportEvery = 100ms;
constexpr auto VanishEvery = 60s;
constexpr auto VanishedFor = 4s;
constexpr auto MemoryEvery = 30s;
constexpr auto DrainLimit = 120s;  // for the receiver to empty the SIM after the last report
constexpr const char* Imei = "354612071234567";
constexpr std::time_t FirstGpsMoment = 1704067200;  // 2024-01-01 00:00:00 UTC
// Room for the reports that arrive while the modem is away and the receiver comes back.
constexpr const char* SimCapacity = "255";

[[noreturn]] void fail(const std::string& what) {
    throw std::runtime_error(what);
}

// A child process with standard input and output as given (-1: inherited).
pid_t spawn(const std::vector<std::string>& arguments, const std::filesystem::path& folder,
            int input, int output) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (input >= 0) {
        posix_spawn_file_actions_adddup2(&actions, input, STDIN_FILENO);
    }
    if (output >= 0) {
        posix_spawn_file_actions_adddup2(&actions, output, STDOUT_FILENO);
        posix_spawn_file_actions_adddup2(&actions, output, STDERR_FILENO);
    }
    posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    std::vector<char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int error = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) {
        fail("cannot start " + arguments[0]);
    }
    return pid;
}

int waitForExit(pid_t pid) {
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// kv820-sim modem, driven through its control commands on standard input.
class Simulator {
  public:
    Simulator(const std::filesystem::path& folder, const std::string& link) {
        int toChild[2];
        int fromChild[2];
        if (pipe2(toChild, O_CLOEXEC) != 0 || pipe2(fromChild, O_CLOEXEC) != 0) {
            fail("pipe");
        }
        pid_ = spawn({KV820_SIM_PROGRAM, "modem", "--link", link, "--capacity", SimCapacity},
                     folder, toChild[0], fromChild[1]);
        close(toChild[0]);
        close(fromChild[1]);
        commands_ = toChild[1];
        answers_ = fromChild[0];
        if (readLine() != link) {
            fail("the simulator did not name its link");
        }
    }
    ~Simulator() {
        close(commands_);  // the end of its standard input ends it
        waitForExit(pid_);
        close(answers_);
    }

    // The lines a command answers before its closing "ok"; throws on "error: ...".
    std::vector<std::string> ask(const std::string& command) {
        std::vector<std::string> lines;
        if (const std::string refusal = tryAsk(command, &lines); !refusal.empty()) {
            fail(command + ": " + refusal);
        }
        return lines;
    }
    // Empty when the command answers "ok", else its "error: ..." line.
    std::string tryAsk(const std::string& command, std::vector<std::string>* lines = nullptr) {
        const std::string line = command + "\n";
        if (write(commands_, line.data(), line.size()) != static_cast<ssize_t>(line.size())) {
            fail("the simulator is gone");
        }
        for (std::string answer = readLine(); answer != "ok"; answer = readLine()) {
            if (answer.starts_with("error: ")) {
                return answer;
            }
            if (lines) {
                lines->push_back(answer);
            }
        }
        return {};
    }

  private:
    std::string readLine() {
        for (auto end = buffer_.find('\n'); end == std::string::npos; end = buffer_.find('\n')) {
            pollfd ready{answers_, POLLIN, 0};
            char bytes[4096];
            const ssize_t length =
                poll(&ready, 1, 10000) > 0 ? read(answers_, bytes, sizeof bytes) : 0;
            if (length <= 0) {
                fail("the simulator does not answer");
            }
            buffer_.append(bytes, static_cast<std::size_t>(length));
        }
        const auto end = buffer_.find('\n');
        std::string line = buffer_.substr(0, end);
        buffer_.erase(0, end + 1);
        return line;
    }

    pid_t pid_ = 0;
    int commands_ = -1;
    int answers_ = -1;
    std::string buffer_;
};

// The report with the n-th GPS moment, a second after the one before, so that each is a row
// of its own however many arrive within one second.
std::string reportCommand(long n) {
    const std::time_t moment = FirstGpsMoment + n;
    std::tm utc{};
    gmtime_r(&moment, &utc);
    char fields[40];
    std::strftime(fields, sizeof fields, "date=%d%m%y time=%H%M%S", &utc);
    return std::string("report ") + Imei + " " + fields;
}

// VmRSS of /proc/PID/status in kB; 0 once the process is gone.
long residentKilobytes(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with("VmRSS:")) {
            const std::size_t digits = line.find_first_of("0123456789");
            return digits == std::string::npos
                       ? 0
                       : kv820::leadingInt32(line.substr(digits)).value_or(0);
        }
    }
    return 0;
}

struct Counts {
    long sent = 0;
    long refused = 0;  // "memory full"
    long vanishes = 0;
    std::vector<long> memory;  // kB
};

// The received messages the simulated SIM still holds (drafts it may hold do not count).
long receivedLeft(Simulator& sim) {
    long left = 0;
    for (const std::string& line : sim.ask("stored")) {
        left += line.find("\"REC ") != std::string::npos ? 1 : 0;
    }
    return left;
}

void deliver(Simulator& sim, pid_t receiver, Clock::duration duration, Counts& counts) {
    const auto start = Clock::now();
    auto nextReport = start;
    auto nextVanish = start + VanishEvery;
    auto nextMemory = start + MemoryEvery;  // the receiver has started by then
    std::optional<Clock::time_point> reappearAt;
    while (Clock::now() < start + duration) {
        const auto now = Clock::now();
        if (now >= nextMemory) {
            counts.memory.push_back(residentKilobytes(receiver));
            nextMemory += MemoryEvery;
        }
        if (!reappearAt && now >= nextVanish) {
            sim.ask("vanish");
            ++counts.vanishes;
            reappearAt = now + VanishedFor;
        } else if (reappearAt && now >= *reappearAt) {
            sim.ask("reappear");
            reappearAt.reset();
            nextVanish += VanishEvery;
        }
        if (now >= nextReport) {
            // Stored on the SIM even while it is away; refused only by a full SIM.
            const std::string refusal = sim.tryAsk(reportCommand(counts.sent + counts.refused));
            ++(refusal.empty() ? counts.sent : counts.refused);
            nextReport += ReportEvery;
        }
        std::this_thread::sleep_until(std::min(nextReport, nextMemory));
    }
    if (reappearAt) {
        sim.ask("reappear");
    }
}

void printFigures(const Counts& counts, long stored, long distinct, long left, double seconds) {
    const long most = *std::max_element(counts.memory.begin(), counts.memory.end());
    std::printf(
        "duration %.0f s, a report every %lld ms, the modem vanished %ld times for %lld s\n",
        seconds, static_cast<long long>(ReportEvery.count()), counts.vanishes,
        static_cast<long long>(VanishedFor.count()));
    std::printf(
        "reports sent %ld (refused by a full SIM %ld), stored %ld, duplicates %ld, "
        "missing %ld, left on the SIM %ld\n",
        counts.sent, counts.refused, stored, stored - distinct, counts.sent - distinct, left);
    std::printf(
        "receiver VmRSS (every %lld s, %zu samples): first %ld kB, last %ld kB, max %ld kB\n",
        static_cast<long long>(MemoryEvery.count()), counts.memory.size(), counts.memory.front(),
        counts.memory.back(), most);
    std::printf("VmRSS samples (kB):");
    for (const long sample : counts.memory) {
        std::printf(" %ld", sample);
    }
    std::printf("\n");
}

int soak(std::chrono::seconds duration) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("kv820-soak-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    const std::string link = (folder / "kv820-modem").string();
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("KV820_NO_SINGLE_INSTANCE", "1", 1);
    const int log =
        open((folder / "receiver.log").c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (waitForExit(spawn({KV820_CALLCENTER_PROGRAM, "--create-database"}, folder, -1, log)) != 0) {
        fail("--create-database failed");
    }
    Simulator sim(folder, link);
    const pid_t receiver = spawn({KV820_CALLCENTER_PROGRAM, "--receive", link}, folder, -1, log);
    close(log);

    Counts counts;
    const auto start = Clock::now();
    deliver(sim, receiver, duration, counts);
    const auto drainEnd = Clock::now() + DrainLimit;
    long left = receivedLeft(sim);
    for (; left > 0 && Clock::now() < drainEnd; left = receivedLeft(sim)) {
        std::this_thread::sleep_for(1s);
    }
    counts.memory.push_back(residentKilobytes(receiver));
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    kill(receiver, SIGTERM);
    const int exitCode = waitForExit(receiver);

    kv820::Database db((folder / kv820::DatabaseFileName).string());
    kv820::Statement count(db, "SELECT COUNT(*), COUNT(DISTINCT gps_date || gps_time) FROM gpslog");
    count.step();
    const long stored = static_cast<long>(count.integer(0));
    const long distinct = static_cast<long>(count.integer(1));
    printFigures(counts, stored, distinct, left, seconds);
    const bool whole = stored == counts.sent && distinct == stored && left == 0 && exitCode == 0;
    if (whole) {
        std::filesystem::remove_all(folder);
    } else {
        std::printf("receiver exit code %d; its log and database: %s\n", exitCode, folder.c_str());
    }
    return whole ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    std::signal(SIGPIPE, SIG_IGN);
    const std::optional<std::int32_t> seconds =
        argc > 1 ? kv820::leadingInt32(argv[1]) : std::optional<std::int32_t>(600);
    if (argc > 2 || !seconds || *seconds <= 0) {
        std::cerr << "usage: bench_reception_soak [SECONDS]   (600)\n";
        return 2;
    }
    try {
        return soak(std::chrono::seconds(*seconds));
    } catch (const std::exception& error) {
        std::cerr << "bench_reception_soak: " << error.what() << "\n";
        return 1;
    }
}
