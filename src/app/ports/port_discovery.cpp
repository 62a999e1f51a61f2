#include "app/ports/port_discovery.h"

#include <QComboBox>
#include <QDir>
#include <QSerialPortInfo>

#include "app/ports/qt_serial_link.h"
#include "core/ports/break_pulse.h"
#include "core/ports/usb_serial_ports.h"

namespace kv820 {

QStringList EnumUsbSerialPorts() {
    std::vector<SerialPortDescription> ports;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        SerialPortDescription port{info.portName().toStdString(), {}, {}};
        if (info.hasVendorIdentifier()) {
            port.vendorId = info.vendorIdentifier();
        }
        if (info.hasProductIdentifier()) {
            port.productId = info.productIdentifier();
        }
        ports.push_back(std::move(port));
    }
    const char separator = QDir::listSeparator().toLatin1();
    const QByteArray extra = qgetenv("KV820_EXTRA_PORTS");
    QStringList entries;
    for (const std::string& entry : usbSerialPortEntries(ports, extra.toStdString(), separator)) {
        entries << QString::fromStdString(entry);
    }
    return entries;
}

void fillPortCombo(QComboBox* combo) {
    combo->clear();
    combo->addItems(EnumUsbSerialPorts());
    combo->setCurrentIndex(0);
}

void pulseBreakOnPortsOf(const QComboBox* combo) {
    std::vector<std::string> entries;
    for (int i = 0; i < combo->count(); ++i) {
        entries.push_back(combo->itemText(i).toStdString());
    }
    PulseBreakOnListedPorts(entries, makeSerialLink);
}

}  // namespace kv820
