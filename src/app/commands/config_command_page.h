#pragma once

#include <QWidget>

class QPushButton;

namespace kv820 {

// The "SMS Configuration Command" page of the command tab.
class ConfigCommandPage : public QWidget {
    Q_OBJECT
  public:
    explicit ConfigCommandPage(QWidget* parent = nullptr);

    QPushButton* sendButton() const { return sendButton_; }

  private:
    QPushButton* sendButton_;
};

}  // namespace kv820
