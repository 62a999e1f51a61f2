#pragma once

#include <QList>
#include <QPointer>
#include <functional>
#include <memory>
#include <string>

#include "app/commands/command_channel.h"
#include "app/common/modem_log_box.h"
#include "app/ports/port_devices.h"
#include "core/reception/sms_session_listener.h"

class QAction;

namespace kv820 {

class InputBlocker;
class PortWorker;
class SmsCommandPage;
class UserRegistry;

// The SMS session of the "SMS Command" page. "Start SMS" starts a worker thread that owns
// the modem port for the whole session (the modem start, the reception of reports, and
// every command send, handed to it as a job). The page's controls, the cable functions
// and the send buttons switch only once the modem start has finished; while it runs the
// window takes no input. "Close SMS" returns the controls to idle at once; the worker
// ends within about 600 ms and its thread is joined when it has finished, without the UI
// waiting; "Scan COM Port" waits for that end. A session whose port vanished returns to
// idle by itself.
class SmsSession : public CommandChannel, private SmsSessionListener {
    Q_OBJECT
  public:
    enum class State {
        Idle,      // "Start SMS"; a closed session's worker may still be ending
        Starting,  // the modem start runs (or waits for the previous worker to end)
        Open,      // "Close SMS"; reports arrive and commands can be sent
    };

    SmsSession(SmsCommandPage& page, const UserRegistry& users, std::string databaseLocation,
               QObject* parent = nullptr);
    // Stops and joins the worker.
    ~SmsSession() override;

    // The cable functions ("KV820 Setup", "User Edit", the firmware update), locked while a
    // session is open.
    void setCableActions(const QList<QAction*>& actions);
    // On a shared database commands can go through the receivers while no session of this
    // window is open: the "User Name :" list stays usable then.
    void setCommandsQueued(bool queued);
    // Where each session's worker gets its serial line and its time (the real port and the
    // system clock unless a test puts others here).
    void setDevices(PortDevices devices) { devices_ = std::move(devices); }

    State state() const { return state_; }
    // True while a worker thread exists (a session runs or a closed one is still ending).
    bool workerRunning() const;

    // The "Start SMS" / "Close SMS" press.
    void toggle();
    // Stops the worker and waits for it; used when the window goes away.
    void shutdown();

    bool sessionActive() const override { return state_ == State::Open; }
    bool sendCommand(const QString& phone, const QString& text) override;

  signals:
    void stateChanged(SmsSession::State state);
    // The worker thread has ended and been joined.
    void workerFinished();
    // A report was stored: the tracking page, the SOS alarm and the map show it.
    void reportReceived(const kv820::StoredReportEvent& event);
    // Events raised without a report (a tracker gone silent), stored already. The signal
    // is itself the listener's call, which the worker's calls reach on the UI thread.
    void eventsRaised(const std::vector<kv820::TrackerEvent>& events) override;
    // A forward of an event was given up after its last attempt (the modem log says why).
    void forwardFailed(const kv820::Forward& forward) override;
    // How the session stands, as the status bar shows it ("Receiving | Signal ...").
    void healthTextChanged(const QString& text);

  private:
    struct Run;

    void start();
    void close();
    void launchWorker();
    void onWorkerFinished();
    void setState(State state);
    void applySessionControls(bool open);

    // What the worker reports, on the UI thread.
    void modemLog(std::string_view text) override;
    void modemLine(std::string_view line) override;
    void sessionStarted(bool ready) override;
    void reportStored(const StoredReportEvent& event) override;
    void reportStoreFailed(const PositionReport& report, std::string_view why) override;
    void healthChanged(const SessionHealth& health) override;
    void sessionEnded() override;

    SmsCommandPage& page_;
    const UserRegistry& users_;
    std::string databaseLocation_;
    ModemLogBox log_;
    QList<QPointer<QAction>> cableActions_;
    PortDevices devices_;
    InputBlocker* inputBlocker_;
    State state_ = State::Idle;
    bool startPending_ = false;  // a start waits for the previous worker to end
    bool commandsQueued_ = false;
    std::shared_ptr<Run> run_;
    PortWorker* worker_;
};

}  // namespace kv820
