#pragma once

#include <QDialog>
#include <QList>
#include <memory>

#include "core/setup/setup_file_writer.h"
#include "core/setup/setup_form.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kv820 {

class SetupPortWorker;
struct SetupSession;

// The "Setup File" dialog: shows the tracker's setup file as the wizard read it, lets the
// operator edit it, checks it, writes it back to the tracker on a worker thread and then
// registers the tracker as a user. It takes no input while it writes.
class SetupFileDialog : public QDialog {
    Q_OBJECT
  public:
    SetupFileDialog(const SetupForm& form, SetupSession& session, QWidget* parent = nullptr);
    ~SetupFileDialog() override;

    // The form as the controls hold it now, and the controls set from a form.
    SetupForm form() const;
    void setForm(const SetupForm& form);

    QLabel* statusLine() const { return statusLine_; }
    bool isWriting() const { return writing_; }

  public slots:
    // "OK": checks the form, writes it to the tracker, registers the tracker.
    void submit();
    // "Reset Default".
    void resetDefault();
    // "Cancel", the close box and Escape: asks first; never while writing.
    void reject() override;

  private:
    void buildControls();
    QGroupBox* buildInformation();
    QGroupBox* buildDefaultReturn();
    QGroupBox* buildFixingTime();
    QGroupBox* buildReportMode();
    QGroupBox* buildSosNumbers();
    QLayout* buildButtons();
    void applyReportModeRule();
    void setWriting(bool writing);
    void finishWrite(WriteOutcome outcome, const SetupForm& form);
    void finishSetup();

    SetupSession& session_;
    std::unique_ptr<SetupPortWorker> worker_;
    QLineEdit* firmwareVersion_ = nullptr;
    QLineEdit* moduleImei_ = nullptr;
    QLineEdit* userName_ = nullptr;
    QLineEdit* phoneNumber_ = nullptr;
    QComboBox* timeZone_ = nullptr;
    QCheckBox* defaultReturnCheck_ = nullptr;
    QLineEdit* defaultReturnPhone_ = nullptr;
    QComboBox* maxFixingTime_ = nullptr;
    QComboBox* reportMode_ = nullptr;
    QLineEdit* reportInterval_ = nullptr;
    QComboBox* reportFormat_ = nullptr;
    QLineEdit* numberOfReports_ = nullptr;
    QLineEdit* reportReturnPhone_ = nullptr;
    QLineEdit* sosNumbers_[3] = {};
    QLabel* statusLine_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* resetButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QList<QWidget*> inputs_;
    bool writing_ = false;
};

}  // namespace kv820
