#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace kv820 {

// The one way the program shows a message box. Tests install a recorder instead, so that
// every message text, caption and order can be asserted. Only the UI thread calls it; a
// worker posts its message to the UI thread and goes on.
class Alerts {
  public:
    virtual ~Alerts() = default;
    // Caption "ERROR", an OK button.
    virtual void error(QWidget* owner, const QString& text) = 0;
    // A caption of the caller's (the setup's "KV820 Setup"), an OK button.
    virtual void information(QWidget* owner, const QString& caption, const QString& text) = 0;
    // Yes and No buttons; true for Yes.
    virtual bool question(QWidget* owner, const QString& caption, const QString& text) = 0;
    // Caption "ERROR", an OK button, shown without waiting for it: returns at once and
    // calls `closed` when the operator has closed the box. By default shown as error()
    // and closed at once.
    virtual void errorWithoutWaiting(QWidget* owner, const QString& text,
                                     std::function<void()> closed) {
        error(owner, text);
        closed();
    }
};

// The program's alerts: message boxes unless a test installed something else.
Alerts& alerts();
// Installs `replacement` (not owned); nullptr restores the message boxes.
void installAlerts(Alerts* replacement);

}  // namespace kv820
