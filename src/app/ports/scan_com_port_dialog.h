#pragma once

#include <QDialog>
#include <chrono>
#include <functional>
#include <memory>
#include <stop_token>

#include "app/ports/port_worker.h"
#include "core/common/clock.h"
#include "core/ports/port_scan.h"
#include "core/ports/scan_probe.h"

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace kv820 {

class InputBlocker;

// "Scan COM Port": on opening it relists the owner's ports, pulses a break on them and
// probes them one by one on a worker thread, one list line per port. When it ends, the
// owner's list selects the first port that answered (entry 0 when none did). Ended during
// the scan, it shows "Break Scan." and lets the port being probed finish for a grace
// period (no further port is opened), staying painted but taking no input; it closes once
// the scan's worker has ended.
class ScanComPortDialog : public QDialog {
    Q_OBJECT
  public:
    static constexpr std::chrono::milliseconds GracePeriod{3000};

    // Makes the probe of one scan. Called on the scan's worker thread, so that the serial
    // link it opens is made, used and closed there.
    using ProbeFactory = std::function<PortProbe(ScanVariant variant, Clock& clock)>;

    ScanComPortDialog(ScanVariant variant, QComboBox* ownerPortCombo, QWidget* parent);

    // Replacements for tests: the probe, the clock of the scan's waits, the grace period.
    // They take effect when the dialog is first shown.
    void setProbeFactory(ProbeFactory factory) { probeFactory_ = std::move(factory); }
    void setClock(std::shared_ptr<Clock> clock) { clock_ = std::move(clock); }
    void setGracePeriod(std::chrono::milliseconds grace) { grace_ = grace; }

    // Every ending ("OK", the close box, Escape) comes here and ends with result 0, at once
    // after a completed scan, otherwise once the scan's worker has ended.
    void done(int result) override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void startScan();
    void finishEnding();
    void selectAnsweringPort();
    void post(std::function<void()> update);
    void insertLine(std::size_t row, const QString& line);

    ScanVariant variant_;
    QComboBox* ownerPortCombo_;
    QListWidget* list_;
    QLabel* status_;
    QPushButton* okButton_;
    InputBlocker* inputBlocker_;
    ProbeFactory probeFactory_;
    std::shared_ptr<Clock> clock_;
    std::chrono::milliseconds grace_ = GracePeriod;
    // "OK" during the scan: no further port is opened, the one being probed may finish.
    std::stop_source break_;
    bool started_ = false;
    bool ending_ = false;
    PortWorker worker_;  // last: stopped and joined before the dialog's state goes
};

}  // namespace kv820
