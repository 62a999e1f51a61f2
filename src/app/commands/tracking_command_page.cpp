#include "app/commands/tracking_command_page.h"

#include <QPushButton>

namespace kv820 {

TrackingCommandPage::TrackingCommandPage(QWidget* parent)
    : QWidget(parent), sendButton_(new QPushButton(QStringLiteral("Send Tracking Command"), this)) {
    setObjectName(QStringLiteral("trackingCommandPage"));
    sendButton_->setObjectName(QStringLiteral("sendTrackingCommandButton"));
    sendButton_->setDefault(true);
    sendButton_->setEnabled(false);
    sendButton_->setGeometry(300, 400, 190, 28);
}

}  // namespace kv820
