#include "app/shell/alerts.h"

#include <QMessageBox>

namespace kv820 {

namespace {

class MessageBoxAlerts final : public Alerts {
  public:
    void error(QWidget* owner, const QString& text) override {
        QMessageBox::critical(owner, QStringLiteral("ERROR"), text, QMessageBox::Ok);
    }
    void information(QWidget* owner, const QString& caption, const QString& text) override {
        QMessageBox::information(owner, caption, text, QMessageBox::Ok);
    }
    bool question(QWidget* owner, const QString& caption, const QString& text) override {
        return QMessageBox::question(owner, caption, text, QMessageBox::Yes | QMessageBox::No) ==
               QMessageBox::Yes;
    }
};

MessageBoxAlerts messageBoxes;
Alerts* installed = nullptr;

}  // namespace

Alerts& alerts() {
    return installed ? *installed : messageBoxes;
}

void installAlerts(Alerts* replacement) {
    installed = replacement;
}

}  // namespace kv820
