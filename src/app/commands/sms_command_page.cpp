#include "app/commands/sms_command_page.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>

#include "app/commands/command_dispatcher.h"
#include "app/commands/config_command_page.h"
#include "app/commands/tracking_command_page.h"
#include "app/ports/scan_com_port_dialog.h"

namespace kv820 {

namespace {
// The log box sits right of the command tab; both keep these pixel offsets on resize.
constexpr int LogX = 540, LogY = 20, LogRightMargin = 15, LogBottomMargin = 35;
constexpr int TabX = 5, TabY = 90, TabWidth = 520, TabBottomMargin = 95;
// The command pages keep their own size; below it their fields would be squeezed.
constexpr QSize CommandPageSize(505, 450);
// The log box keeps a readable width when the window is at its smallest.
constexpr int LogMinimumWidth = 200;
}  // namespace

SmsCommandPage::SmsCommandPage(const AppServices& services, QWidget* parent)
    : QWidget(parent),
      comPortCombo_(new QComboBox(this)),
      scanButton_(new QPushButton(QStringLiteral("Scan COM Port"), this)),
      startButton_(new QPushButton(QStringLiteral("Start SMS"), this)),
      userCombo_(new QComboBox(this)),
      modemLog_(new QPlainTextEdit(this)),
      commandTab_(new QTabWidget(this)),
      dispatcher_(new CommandDispatcher(services, this)),
      trackingPage_(new TrackingCommandPage(*dispatcher_)),
      configPage_(new ConfigCommandPage(*dispatcher_)) {
    setObjectName(QStringLiteral("smsCommandPage"));
    auto* frame = new QFrame(this);
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setGeometry(TabX, 6, TabWidth, 78);
    frame->lower();  // made after the port controls, it must not lie on top of them

    comPortCombo_->setObjectName(QStringLiteral("comPortCombo"));
    auto* portLabel = new QLabel(QStringLiteral("COM Port :"), this);
    portLabel->setBuddy(comPortCombo_);
    portLabel->setGeometry(15, 14, 80, 24);
    comPortCombo_->setGeometry(95, 14, 200, 24);
    scanButton_->setObjectName(QStringLiteral("scanComPortButton"));
    scanButton_->setGeometry(305, 12, 100, 28);
    // The button is greyed while a session holds the port, so the scan has the ports alone.
    connect(scanButton_, &QPushButton::clicked, this,
            [this] { ScanComPortDialog(ScanVariant::SmsCommand, comPortCombo_, this).exec(); });
    startButton_->setObjectName(QStringLiteral("startSmsButton"));
    startButton_->setGeometry(415, 12, 100, 28);

    userCombo_->setObjectName(QStringLiteral("smsUserNameCombo"));
    userCombo_->setEnabled(false);
    auto* userLabel = new QLabel(QStringLiteral("User Name :"), this);
    userLabel->setBuddy(userCombo_);
    userLabel->setGeometry(15, 50, 80, 24);
    userCombo_->setGeometry(95, 50, 200, 24);

    modemLog_->setObjectName(QStringLiteral("modemLogBox"));
    modemLog_->setAccessibleName(QStringLiteral("Modem log"));
    modemLog_->setReadOnly(true);
    modemLog_->setLineWrapMode(QPlainTextEdit::NoWrap);
    modemLog_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    modemLog_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    commandTab_->setObjectName(QStringLiteral("commandTab"));
    commandTab_->addTab(trackingPage_, QStringLiteral("SMS Tracking Command"));
    commandTab_->addTab(configPage_, QStringLiteral("SMS Configuration Command"));
    trackingPage_->setFixedSize(CommandPageSize);
    configPage_->setFixedSize(CommandPageSize);
    setMinimumSize(LogX + LogMinimumWidth + LogRightMargin,
                   TabBottomMargin + commandTab_->minimumSizeHint().height());
    dispatcher_->setUserSource(userCombo_, nullptr);
}

void SmsCommandPage::setUserRegistry(const UserRegistry* registry) {
    dispatcher_->setUserSource(userCombo_, registry);
}

void SmsCommandPage::setCommandChannel(CommandChannel* channel) {
    dispatcher_->setCommandChannel(channel);
}

void SmsCommandPage::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // Below a page width of LogX + LogRightMargin the log box has no width and is not seen.
    modemLog_->setGeometry(LogX, LogY, std::max(0, width() - LogX - LogRightMargin),
                           std::max(0, height() - LogBottomMargin));
    modemLog_->setVisible(width() - LogX - LogRightMargin > 0);
    commandTab_->setGeometry(TabX, TabY, TabWidth, std::max(0, height() - TabBottomMargin));
}

}  // namespace kv820
