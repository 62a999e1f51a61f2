#include "app/alarms/alarm_beeper.h"

#include <QApplication>

namespace kv820 {

void ApplicationBeeper::beep() {
    QApplication::beep();
}

}  // namespace kv820
