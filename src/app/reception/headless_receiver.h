#pragma once

#include <string>
#include <string_view>

namespace kv820 {

// The "COM Port :" entry of a port given on the command line: a listed entry ("ttyUSB0:")
// is taken as it is, a device path ("/dev/pts/3") becomes an entry that opens exactly it.
std::string portEntryFromArgument(std::string_view argument);

// Runs an SMS session without a window on the port `argument` names: the modem starts as
// "Start SMS" starts it, every modem line and status text is printed to standard output,
// and reports are stored in `database` (a file path or a PostgreSQL URL) for the users
// registered there. Each log line carries its local time; with a `logFile` the log is appended to
// it too, and SIGHUP reopens it. SIGINT or SIGTERM closes the session as "Close SMS" does. Returns
// the exit code: 0 after a close by signal, 1 when the log file cannot be opened, the start failed
// or the port went away.
int runHeadlessReceiver(std::string_view argument, const std::string& logFile,
                        const std::string& database);

}  // namespace kv820
