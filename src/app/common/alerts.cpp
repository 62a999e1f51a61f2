#include "app/common/alerts.h"

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
    void errorWithoutWaiting(QWidget* owner, const QString& text,
                             std::function<void()> closed) override {
        auto* box = new QMessageBox(QMessageBox::Critical, QStringLiteral("ERROR"), text,
                                    QMessageBox::Ok, owner);
        box->setAttribute(Qt::WA_DeleteOnClose);
        QObject::connect(box, &QMessageBox::finished, box,
                         [closed = std::move(closed)] { closed(); });
        box->open();  // modal to its window, but no nested event loop: nothing waits
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
