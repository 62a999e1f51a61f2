#pragma once

#include <QDialog>

namespace kv820 {

// "KV820-Call Center Version Information": four centred lines and no buttons; it closes
// with its close box (or Escape).
class AboutDialog : public QDialog {
    Q_OBJECT
  public:
    explicit AboutDialog(QWidget* parent = nullptr);
};

}  // namespace kv820
