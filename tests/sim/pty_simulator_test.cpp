#include "sim/pty_simulator.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

namespace kv820::sim {
namespace {

using namespace std::chrono_literals;

// The program's side of the line, with nothing but POSIX calls.
class PortFromProgram {
  public:
    explicit PortFromProgram(const std::string& path)
        : fd_(::open(path.c_str(), O_RDWR | O_NOCTTY)) {
        termios settings{};
        if (fd_ >= 0 && tcgetattr(fd_, &settings) == 0) {
            cfmakeraw(&settings);
            tcsetattr(fd_, TCSANOW, &settings);
        }
    }
    ~PortFromProgram() { ::close(fd_); }
    void write(const std::string& bytes) {
        ASSERT_EQ(::write(fd_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }
    // Reads until `expected` bytes came, the line failed or two seconds passed.
    std::string read(std::size_t expected) {
        std::string text;
        const auto end = std::chrono::steady_clock::now() + 2s;
        char buffer[256];
        for (pollfd fd{fd_, POLLIN, 0};
             text.size() < expected && std::chrono::steady_clock::now() < end;) {
            if (::poll(&fd, 1, 20) > 0) {
                const ssize_t length = ::read(fd_, buffer, sizeof buffer);
                if (length <= 0) {
                    break;
                }
                text.append(buffer, static_cast<std::size_t>(length));
            }
        }
        return text;
    }

  private:
    int fd_;
};

TEST(PtySimulator, OutputSentWhileThePortWasClosedIsNotReadLater) {
    auto simulator = PtySimulator::modem();
    {
        PortFromProgram port(simulator->devicePath());
        port.write("at+cnmi=1,1\r");
        port.read(18);
    }
    for (int n = 0; n < 100 && simulator->portOpen(); ++n) {
        std::this_thread::sleep_for(20ms);
    }
    ASSERT_FALSE(simulator->portOpen());
    simulator->withModem([](ModemSimulator& m) { return m.injectSms("+1", "lost"); });
    std::this_thread::sleep_for(50ms);
    PortFromProgram port(simulator->devicePath());
    port.write("at\r");
    EXPECT_EQ(port.read(9), "at\r\r\nOK\r\n");
}

}  // namespace
}  // namespace kv820::sim
