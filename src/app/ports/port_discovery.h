#pragma once

#include <QStringList>

class QComboBox;

namespace kv820 {

// The entries of a "COM Port :" list: the bridge's ports, then KV820_EXTRA_PORTS, or "NO".
QStringList EnumUsbSerialPorts();

// Refills a "COM Port :" list with EnumUsbSerialPorts and selects entry 0.
void fillPortCombo(QComboBox* combo);

// Pulses a break on every port of a list, through links of their own.
void pulseBreakOnPortsOf(const QComboBox* combo);

}  // namespace kv820
