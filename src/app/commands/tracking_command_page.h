#pragma once

#include <QWidget>

class QPushButton;

namespace kv820 {

// The "SMS Tracking Command" page of the command tab.
class TrackingCommandPage : public QWidget {
    Q_OBJECT
  public:
    explicit TrackingCommandPage(QWidget* parent = nullptr);

    QPushButton* sendButton() const { return sendButton_; }

  private:
    QPushButton* sendButton_;
};

}  // namespace kv820
