#pragma once

#include <QDialog>
#include <functional>
#include <memory>
#include <thread>

#include "app/common/modem_log_box.h"
#include "core/common/clock.h"

class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace kv820 {

// "Firmware Update": picks a firmware image and shows it, block by block as hexadecimal
// text, in the modem log. The image is read on a worker thread; "Start" is greyed while a
// run is active, "Button1" stops it within one block, and the dialog stops it before it
// goes. A new run starts again at the beginning of the image.
class FirmwareUpdateDialog : public QDialog {
    Q_OBJECT
  public:
    // Asks the operator for an image file; an empty result means the choice was cancelled.
    using FileChooser = std::function<QString(QWidget* owner)>;

    FirmwareUpdateDialog(QPlainTextEdit* modemLog, QWidget* parent = nullptr);
    ~FirmwareUpdateDialog() override;

    void setFileChooser(FileChooser chooser) { chooser_ = std::move(chooser); }
    void setClock(std::shared_ptr<Clock> clock) { clock_ = std::move(clock); }

    bool runActive() const { return worker_.joinable(); }
    // Stops a run and waits for its thread; nothing happens when none is active.
    void stopRun();

  signals:
    // A run ended, by itself at the end of the image or by a stop.
    void runEnded();

  private:
    void chooseFile();
    void startRun();
    void finishRun(int run);

    ModemLogBox log_;
    QLineEdit* pathEdit_;
    QPushButton* browseButton_;
    QProgressBar* progress_;
    QPushButton* startButton_;
    QPushButton* stopButton_;
    FileChooser chooser_;
    std::shared_ptr<Clock> clock_;
    std::jthread worker_;
    int run_ = 0;  // which run the worker's posted updates belong to
};

}  // namespace kv820
