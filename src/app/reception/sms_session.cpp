#include "app/reception/sms_session.h"

#include <QAction>
#include <QComboBox>
#include <QPushButton>
#include <mutex>

#include "app/commands/sms_command_page.h"
#include "app/common/input_blocker.h"
#include "app/ports/port_worker.h"
#include "app/reception/http_webhook_poster.h"
#include "app/reception/queued_session_listener.h"
#include "core/commands/send_command_sms.h"
#include "core/reception/sms_session_worker.h"

namespace kv820 {

// What the UI thread and one session's worker thread share. The worker lives on the worker
// thread's stack; it is reachable here only while run() runs.
struct SmsSession::Run {
    std::mutex mutex;
    SmsSessionWorker* worker = nullptr;
    // UI thread only: the operator closed this session (or it ended by itself), so its
    // late start and end notices change nothing any more.
    bool closed = false;

    void attach(SmsSessionWorker* w) {
        std::lock_guard lock(mutex);
        worker = w;
    }

    bool post(SessionJob job) {
        std::lock_guard lock(mutex);
        return worker != nullptr && worker->post(std::move(job));
    }
};

SmsSession::SmsSession(SmsCommandPage& page, const UserRegistry& users,
                       std::string databaseLocation, QObject* parent)
    : CommandChannel(parent),
      page_(page),
      users_(users),
      databaseLocation_(std::move(databaseLocation)),
      log_(page.modemLog()),
      inputBlocker_(new InputBlocker(this)),
      worker_(new PortWorker(this)) {
    connect(page_.startButton(), &QPushButton::clicked, this, &SmsSession::toggle);
    connect(worker_, &PortWorker::ended, this, &SmsSession::onWorkerFinished);
}

SmsSession::~SmsSession() {
    shutdown();
}

void SmsSession::setCableActions(const QList<QAction*>& actions) {
    cableActions_.clear();
    for (QAction* action : actions) {
        cableActions_.append(action);
    }
}

bool SmsSession::workerRunning() const {
    return worker_->running();
}

void SmsSession::toggle() {
    if (state_ == State::Idle) {
        start();
    } else if (state_ == State::Open) {
        close();
    }
    // While a start runs the press is not taken.
}

void SmsSession::start() {
    setState(State::Starting);
    inputBlocker_->block(page_.window());
    if (worker_->running()) {
        startPending_ = true;  // the closed session's worker still holds the port
        return;
    }
    launchWorker();
}

void SmsSession::launchWorker() {
    log_.clear();
    auto run = std::make_shared<Run>();
    run_ = run;
    SmsSessionWorker::Settings settings;
    settings.portEntry = page_.comPortCombo()->currentText().toStdString();
    settings.databaseLocation = databaseLocation_;
    // The scan must not reach for the port while a worker may still hold it.
    page_.scanButton()->setEnabled(false);
    worker_->start([this, run, settings, devices = devices_](const std::stop_token& stop) {
        // The link, the clock and the session are made, used and destroyed on this thread.
        QueuedSessionListener listener(this, *this, [this, run] { return run_ == run; });
        const std::unique_ptr<SerialLink> link = devices.makeLink();
        const std::unique_ptr<Clock> clock = devices.makeClock();
        HttpWebhookPoster webhook;
        SmsSessionWorker::Settings withWebhook = settings;
        withWebhook.webhook = &webhook;
        SmsSessionWorker worker(*link, *clock, users_, listener, withWebhook);
        // A stop during the modem start skips its pauses.
        const std::stop_callback stopWorker(stop, [&worker] { worker.requestStop(); });
        run->attach(&worker);
        try {
            worker.run();
        } catch (const std::exception& error) {
            listener.modemLog(std::string("SMS session failed: ") + error.what() + "\r\n");
        }
        run->attach(nullptr);
    });
}

void SmsSession::close() {
    run_->closed = true;
    worker_->stop();
    applySessionControls(false);
}

void SmsSession::onWorkerFinished() {
    page_.scanButton()->setEnabled(state_ != State::Open);
    if (startPending_) {
        startPending_ = false;
        launchWorker();
    } else if (state_ == State::Starting) {
        // The worker ended without a word about its start.
        inputBlocker_->release();
        setState(State::Idle);
    }
    emit workerFinished();
}

void SmsSession::shutdown() {
    startPending_ = false;
    if (run_) {
        run_->closed = true;
    }
    worker_->stop();
    worker_->join();
    inputBlocker_->release();
    state_ = State::Idle;
}

void SmsSession::setState(State state) {
    if (state_ != state) {
        state_ = state;
        emit stateChanged(state);
        if (state == State::Idle) {
            emit healthTextChanged(QString::fromStdString(sessionHealthText({})));
        }
    }
}

void SmsSession::applySessionControls(bool open) {
    setState(open ? State::Open : State::Idle);
    page_.startButton()->setText(open ? QStringLiteral("Close SMS") : QStringLiteral("Start SMS"));
    // The scan waits for the worker's end (onWorkerFinished), not for the press of "Close SMS".
    page_.scanButton()->setEnabled(!open && !worker_->running());
    page_.comPortCombo()->setEnabled(!open);
    page_.userCombo()->setEnabled(open || commandsQueued_);
    emit sessionActiveChanged(open);  // both send buttons follow
    for (const QPointer<QAction>& action : cableActions_) {
        if (action) {
            action->setEnabled(!open);
        }
    }
}

void SmsSession::setCommandsQueued(bool queued) {
    commandsQueued_ = queued;
    page_.userCombo()->setEnabled(state_ == State::Open || commandsQueued_);
}

bool SmsSession::sendCommand(const QString& phone, const QString& text) {
    if (state_ != State::Open || !run_) {
        return false;
    }
    // Runs on the worker thread; what it logs and its end reach the UI thread queued.
    SessionJob job = [this, phone = phone.toStdString(), text = text.toStdString()](
                         ComPort& port, MessageMode mode) {
        const ModemLog log = [this](std::string_view written) {
            QMetaObject::invokeMethod(
                this, [this, written = std::string(written)] { log_.appendText(written); },
                Qt::QueuedConnection);
        };
        SendCommandSms(port, mode, log, phone, text);
        QMetaObject::invokeMethod(
            this, [this] { emit commandSent(); }, Qt::QueuedConnection);
    };
    return run_->post(std::move(job));
}

void SmsSession::modemLog(std::string_view text) {
    log_.appendText(text);
}

void SmsSession::modemLine(std::string_view line) {
    log_.appendLine(line);
}

void SmsSession::sessionStarted(bool ready) {
    if (run_->closed) {
        return;
    }
    inputBlocker_->release();
    if (!ready) {
        setState(State::Idle);  // "COM Port ERROR!!!" is in the log; nothing else changes
        return;
    }
    applySessionControls(true);
}

void SmsSession::reportStored(const StoredReportEvent& event) {
    emit reportReceived(event);
}

void SmsSession::reportStoreFailed(const PositionReport&, std::string_view) {
    // The modem log already says that the SMS stays in the modem.
}

void SmsSession::healthChanged(const SessionHealth& health) {
    if (!run_->closed) {
        emit healthTextChanged(QString::fromStdString(sessionHealthText(health)));
    }
}

void SmsSession::sessionEnded() {
    if (run_->closed || state_ != State::Open) {
        return;
    }
    // Nobody asked: the port went away. The controls return to idle.
    run_->closed = true;
    applySessionControls(false);
}

}  // namespace kv820
