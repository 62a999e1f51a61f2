#include "app/ports/scan_com_port_dialog.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "app/common/input_blocker.h"
#include "app/ports/port_discovery.h"
#include "app/ports/qt_serial_link.h"
#include "core/at/com_port.h"
#include "core/common/stoppable_clock.h"

namespace kv820 {

namespace {

// The probe over a real serial line, made on the scan's worker thread.
PortProbe makeSerialScanProbe(ScanVariant variant, Clock& clock) {
    std::shared_ptr<SerialLink> link = makeSerialLink();
    auto port = std::make_shared<ComPort>(*link, clock);
    return [link, port, variant](const std::string& entry, const std::stop_token& stop) {
        return ScanProbe(variant, *port).probe(entry, stop);
    };
}

QString fromStd(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

ScanComPortDialog::ScanComPortDialog(ScanVariant variant, QComboBox* ownerPortCombo,
                                     QWidget* parent)
    : QDialog(parent),
      variant_(variant),
      ownerPortCombo_(ownerPortCombo),
      list_(new QListWidget(this)),
      status_(new QLabel(fromStd(std::string(ScanStartStatus)), this)),
      okButton_(new QPushButton(QStringLiteral("OK"), this)),
      inputBlocker_(new InputBlocker(this)),
      probeFactory_(makeSerialScanProbe),
      clock_(std::make_shared<SystemClock>()) {
    setObjectName(QStringLiteral("scanComPortDialog"));
    setWindowTitle(QStringLiteral("Scan COM Port"));
    list_->setObjectName(QStringLiteral("scanList"));
    list_->setAccessibleName(QStringLiteral("Scanned ports"));
    list_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    status_->setObjectName(QStringLiteral("scanStatus"));
    okButton_->setObjectName(QStringLiteral("scanOkButton"));
    okButton_->setDefault(true);
    connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);
    connect(&worker_, &PortWorker::ended, this, [this] {
        if (ending_) {
            finishEnding();
        }
    });

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(status_, 1);
    bottom->addWidget(okButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_, 1);
    layout->addLayout(bottom);

    // 140 x 150 dialog units at least: a dialog unit is a quarter of the average character
    // width across and an eighth of the character height down.
    const QFontMetrics metrics(font());
    setMinimumSize(140 * metrics.averageCharWidth() / 4, 150 * metrics.height() / 8);
}

void ScanComPortDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!started_) {
        started_ = true;
        startScan();
    }
}

void ScanComPortDialog::startScan() {
    fillPortCombo(ownerPortCombo_);
    pulseBreakOnPortsOf(ownerPortCombo_);
    std::vector<std::string> entries;
    for (int i = 0; i < ownerPortCombo_->count(); ++i) {
        entries.push_back(ownerPortCombo_->itemText(i).toStdString());
    }
    worker_.start(
        [this, entries, factory = probeFactory_, time = clock_](const std::stop_token& stop) {
            StoppableClock clock(*time, stop);
            PortScan scan(factory(variant_, clock), clock);
            scan.run(entries,
                     {[this](const std::string& status) {
                          // Once ending, the status says "Break Scan." to the end.
                          post([this, text = fromStd(status)] {
                              if (!ending_) {
                                  status_->setText(text);
                              }
                          });
                      },
                      [this](std::size_t row, const std::string& line) {
                          post([this, row, text = fromStd(line)] { insertLine(row, text); });
                      }},
                     stop, break_.get_token());
        });
}

void ScanComPortDialog::post(std::function<void()> update) {
    QMetaObject::invokeMethod(this, std::move(update), Qt::QueuedConnection);
}

void ScanComPortDialog::insertLine(std::size_t row, const QString& line) {
    list_->insertItem(std::min(static_cast<int>(row), list_->count()), line);
}

void ScanComPortDialog::done(int) {
    if (ending_) {
        return;  // an ending is already under way (the grace period)
    }
    ending_ = true;
    if (status_->text() == fromStd(std::string(ScanCompleteStatus))) {
        worker_.stop();
        worker_.join();  // it has nothing left to do but return
        finishEnding();
        return;
    }
    ownerPortCombo_->setCurrentIndex(0);
    status_->setText(fromStd(std::string(ScanBrokenStatus)));
    if (!worker_.running()) {
        finishEnding();
        return;
    }
    // The port being probed may still finish and add its line within the grace: queued
    // updates and painting go on, the operator's input to this dialog does not. The
    // worker's end (by itself, or stopped when the grace is over) closes the dialog.
    break_.request_stop();
    inputBlocker_->block(this);
    QTimer::singleShot(grace_, Qt::PreciseTimer, &worker_, &PortWorker::stop);
}

void ScanComPortDialog::finishEnding() {
    inputBlocker_->release();
    selectAnsweringPort();
    QDialog::done(0);
}

void ScanComPortDialog::selectAnsweringPort() {
    std::vector<std::string> lines;
    for (int row = 0; row < list_->count(); ++row) {
        lines.push_back(list_->item(row)->text().toStdString());
    }
    const auto entryCount = static_cast<std::size_t>(ownerPortCombo_->count());
    if (const auto row = firstAnsweringEntry(lines, entryCount)) {
        ownerPortCombo_->setCurrentIndex(static_cast<int>(*row));
    }
}

}  // namespace kv820
