#pragma once

#include <QDialog>

class QSpinBox;

namespace kv820 {

class AppContext;

// "Trackers (user slots)": how many trackers the program registers, five unless a larger
// fleet needs more. Fewer slots than trackers registered are refused: the operator deletes
// trackers first. Saved in the database, so every receiver and desk on it holds the same
// number (a running receiver takes it at its next start); every user list refills.
class UserSlotsDialog : public QDialog {
    Q_OBJECT
  public:
    UserSlotsDialog(AppContext& context, QWidget* parent);

    void accept() override;

  private:
    AppContext& context_;
    QSpinBox* slotCount_;
};

}  // namespace kv820
