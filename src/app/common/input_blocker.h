#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

namespace kv820 {

// Keeps a window painted but deaf while a long device operation runs off the UI thread:
// mouse, keyboard and wheel input to the window and everything in it is dropped, and the
// busy cursor shows, without changing any control's enabled state. The window's close
// button still works (closing is how the operator ends the program).
class InputBlocker : public QObject {
    Q_OBJECT
  public:
    explicit InputBlocker(QObject* parent = nullptr);
    ~InputBlocker() override;

    void block(QWidget* window);
    void release();
    bool blocking() const { return blocking_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QPointer<QWidget> window_;
    bool blocking_ = false;
};

}  // namespace kv820
