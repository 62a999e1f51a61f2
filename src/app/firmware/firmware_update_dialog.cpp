#include "app/firmware/firmware_update_dialog.h"

#include <QFileDialog>
#include <QFontMetrics>
#include <QGridLayout>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <fstream>

#include "core/common/stoppable_clock.h"
#include "core/firmware/firmware_read_run.h"

namespace kv820 {

namespace {

QString chooseFirmwareFile(QWidget* owner) {
    return QFileDialog::getOpenFileName(owner, QStringLiteral("Open a firmware file for KV820"),
                                        QString(),
                                        QStringLiteral("Firmware Files (*.bin);;All Files (*.*)"));
}

}  // namespace

FirmwareUpdateDialog::FirmwareUpdateDialog(QPlainTextEdit* modemLog, QWidget* parent)
    : QDialog(parent),
      log_(modemLog),
      pathEdit_(new QLineEdit(this)),
      browseButton_(new QPushButton(QStringLiteral("Browse..."), this)),
      progress_(new QProgressBar(this)),
      startButton_(new QPushButton(QStringLiteral("Start"), this)),
      stopButton_(new QPushButton(QStringLiteral("Button1"), this)),
      chooser_(chooseFirmwareFile),
      clock_(std::make_shared<SystemClock>()) {
    setObjectName(QStringLiteral("firmwareUpdateDialog"));
    setWindowTitle(QStringLiteral("Firmware Update"));
    pathEdit_->setObjectName(QStringLiteral("firmwarePathEdit"));
    pathEdit_->setReadOnly(true);
    browseButton_->setObjectName(QStringLiteral("firmwareBrowseButton"));
    browseButton_->setDefault(true);
    progress_->setObjectName(QStringLiteral("firmwareProgressBar"));
    progress_->setRange(0, 100);
    progress_->setValue(0);
    progress_->setTextVisible(false);
    startButton_->setObjectName(QStringLiteral("firmwareStartButton"));
    stopButton_->setObjectName(QStringLiteral("firmwareStopButton"));

    auto* layout = new QGridLayout(this);
    layout->addWidget(pathEdit_, 0, 0, 1, 2);
    layout->addWidget(browseButton_, 0, 2);
    layout->addWidget(progress_, 1, 0, 1, 2);
    layout->addWidget(startButton_, 1, 2);
    layout->addWidget(stopButton_, 2, 1, Qt::AlignRight);
    layout->setColumnStretch(0, 1);
    // 230 x 60 dialog units at least.
    const QFontMetrics metrics(font());
    setMinimumSize(230 * metrics.averageCharWidth() / 4, 60 * metrics.height() / 8);

    connect(browseButton_, &QPushButton::clicked, this, &FirmwareUpdateDialog::chooseFile);
    connect(startButton_, &QPushButton::clicked, this, &FirmwareUpdateDialog::startRun);
    connect(stopButton_, &QPushButton::clicked, this, &FirmwareUpdateDialog::stopRun);
}

FirmwareUpdateDialog::~FirmwareUpdateDialog() {
    stopRun();
}

void FirmwareUpdateDialog::chooseFile() {
    const QString path = chooser_(this);
    if (!path.isEmpty()) {
        pathEdit_->setText(path);
    }
}

void FirmwareUpdateDialog::startRun() {
    if (runActive()) {
        return;
    }
    startButton_->setEnabled(false);
    const int run = ++run_;
    worker_ = std::jthread(
        [this, run, clock = clock_,
         path = QFile::encodeName(pathEdit_->text()).toStdString()](const std::stop_token& stop) {
            std::ifstream image(path, std::ios::binary);
            StoppableClock pauses(*clock, stop);
            FirmwareReadRun(image, pauses).run(stop, [this](std::string_view block) {
                QMetaObject::invokeMethod(
                    this, [this, text = std::string(block)] { log_.appendLine(text); },
                    Qt::QueuedConnection);
            });
            QMetaObject::invokeMethod(
                this, [this, run] { finishRun(run); }, Qt::QueuedConnection);
        });
}

void FirmwareUpdateDialog::stopRun() {
    if (worker_.joinable()) {
        worker_.request_stop();
        worker_.join();
        startButton_->setEnabled(true);
        emit runEnded();
    }
}

void FirmwareUpdateDialog::finishRun(int run) {
    // A run that was stopped already was joined and reported by stopRun.
    if (run == run_ && worker_.joinable()) {
        worker_.join();
        startButton_->setEnabled(true);
        emit runEnded();
    }
}

}  // namespace kv820
