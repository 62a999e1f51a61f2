#include "app/commands/config_command_page.h"

#include <QPushButton>

namespace kv820 {

ConfigCommandPage::ConfigCommandPage(QWidget* parent)
    : QWidget(parent),
      sendButton_(new QPushButton(QStringLiteral("Send Configuration Command"), this)) {
    setObjectName(QStringLiteral("configCommandPage"));
    sendButton_->setObjectName(QStringLiteral("sendConfigurationCommandButton"));
    sendButton_->setDefault(true);
    sendButton_->setEnabled(false);
    sendButton_->setGeometry(300, 400, 190, 28);
}

}  // namespace kv820
