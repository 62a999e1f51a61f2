#pragma once

#include <QString>
#include <memory>

#include "core/at/serial_link.h"

class QSerialPort;

namespace kv820 {

// The serial line through QSerialPort. The port object is made by open() and used only
// on the thread that opened it (the port's one owner), with blocking waits and no event
// loop.
class QtSerialLink final : public SerialLink {
  public:
    QtSerialLink();
    ~QtSerialLink() override;

    bool open(const std::string& devicePath) override;
    bool isOpen() const override;
    void close() override;
    bool write(std::string_view bytes) override;
    std::string readAvailable(std::size_t maxBytes, std::chrono::milliseconds timeout) override;
    bool pulseBreak() override;
    bool vanished() const override { return vanished_; }

  private:
    void noteError();

    std::unique_ptr<QSerialPort> port_;
    QString deviceNode_;  // empty where ports are no files
    bool vanished_ = false;
};

// A new link for the place that needs one (the session, the setup, a scan).
std::unique_ptr<SerialLink> makeSerialLink();

}  // namespace kv820
