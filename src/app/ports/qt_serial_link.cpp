#include "app/ports/qt_serial_link.h"

#include <QFile>
#include <QSerialPort>
#include <QThread>

#ifdef Q_OS_UNIX
#include <poll.h>
#endif

namespace kv820 {

namespace {
constexpr int WriteTimeoutMs = 500;
constexpr int BreakMs = 10;

// True when the line was hung up underneath the open port. On Unix a pulled USB adapter
// (or a closed pseudo-terminal) only hangs the descriptor up; QSerialPort's waits take
// that for silence and never report an error.
bool hungUp(QSerialPort& port) {
#ifdef Q_OS_UNIX
    pollfd descriptor{static_cast<int>(port.handle()), POLLIN, 0};
    return ::poll(&descriptor, 1, 0) > 0 && (descriptor.revents & (POLLHUP | POLLERR | POLLNVAL));
#else
    (void)port;
    return false;  // elsewhere the port reports a resource error
#endif
}

// The file a port lives in, where ports are files: "/dev/ttyUSB0" for "ttyUSB0".
QString deviceNode(const std::string& devicePath) {
#ifdef Q_OS_WIN
    (void)devicePath;
    return {};
#else
    const QString path = QString::fromStdString(devicePath);
    return path.startsWith(QLatin1Char('/')) ? path : QStringLiteral("/dev/") + path;
#endif
}
}  // namespace

QtSerialLink::QtSerialLink() = default;

QtSerialLink::~QtSerialLink() {
    close();
}

bool QtSerialLink::open(const std::string& devicePath) {
    close();
    vanished_ = false;
    deviceNode_ = deviceNode(devicePath);
    port_ = std::make_unique<QSerialPort>();
    // A plain name ("ttyUSB0", "COM3") or a whole device path ("/dev/pts/3") both work.
    port_->setPortName(QString::fromStdString(devicePath));
    if (!port_->open(QIODevice::ReadWrite)) {
        port_.reset();
        return false;
    }
    port_->setBaudRate(QSerialPort::Baud115200);
    port_->setDataBits(QSerialPort::Data8);
    port_->setParity(QSerialPort::NoParity);
    port_->setStopBits(QSerialPort::OneStop);
    port_->setFlowControl(QSerialPort::NoFlowControl);
    // Devices without these lines (pseudo-terminals) refuse them; that is not a failure.
    port_->setDataTerminalReady(false);
    port_->setRequestToSend(false);
    pulseBreak();
    port_->clear(QSerialPort::AllDirections);
    port_->clearError();
    return true;
}

bool QtSerialLink::isOpen() const {
    return port_ && port_->isOpen();
}

void QtSerialLink::close() {
    if (port_) {
        port_->close();
        port_.reset();
    }
}

void QtSerialLink::noteError() {
    if (!port_) {
        return;
    }
    if (hungUp(*port_)) {
        vanished_ = true;
    }
    const QSerialPort::SerialPortError error = port_->error();
    // The device went away underneath the open port (USB cable pulled, simulator gone).
    if (error == QSerialPort::ResourceError || error == QSerialPort::DeviceNotFoundError ||
        error == QSerialPort::PermissionError) {
        vanished_ = true;
    }
    // A pseudo-terminal whose other end closed, or an adapter pulled on Linux, shows up
    // as a read error, and its device node is gone.
    if (error == QSerialPort::ReadError && !deviceNode_.isEmpty() && !QFile::exists(deviceNode_)) {
        vanished_ = true;
    }
    if (error != QSerialPort::TimeoutError && error != QSerialPort::NoError) {
        port_->clearError();
    }
}

bool QtSerialLink::write(std::string_view bytes) {
    if (!isOpen() || vanished_) {
        return false;
    }
    const qint64 written = port_->write(bytes.data(), static_cast<qint64>(bytes.size()));
    bool ok = written == static_cast<qint64>(bytes.size());
    while (ok && port_->bytesToWrite() > 0) {
        ok = port_->waitForBytesWritten(WriteTimeoutMs);
    }
    if (!ok) {
        noteError();
    }
    return ok;
}

std::string QtSerialLink::readAvailable(std::size_t maxBytes, std::chrono::milliseconds timeout) {
    if (!isOpen() || vanished_) {
        if (timeout.count() > 0) {
            QThread::msleep(static_cast<unsigned long>(timeout.count()));
        }
        return {};
    }
    if (port_->bytesAvailable() == 0 &&
        !port_->waitForReadyRead(static_cast<int>(timeout.count()))) {
        noteError();
        return {};
    }
    const QByteArray data = port_->read(static_cast<qint64>(maxBytes));
    return std::string(data.constData(), static_cast<std::size_t>(data.size()));
}

bool QtSerialLink::pulseBreak() {
    if (!isOpen()) {
        return false;
    }
    if (!port_->setBreakEnabled(true)) {
        port_->clearError();
        return false;
    }
    QThread::msleep(BreakMs);
    const bool cleared = port_->setBreakEnabled(false);
    port_->clearError();
    return cleared;
}

std::unique_ptr<SerialLink> makeSerialLink() {
    return std::make_unique<QtSerialLink>();
}

}  // namespace kv820
