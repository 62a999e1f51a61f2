#include "app/reception/printing_session_listener.h"

#include <QDateTime>
#include <cerrno>
#include <cstring>

namespace kv820 {

namespace {

std::string localTimeStamp() {
    return QDateTime::currentDateTime()
        .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss "))
        .toStdString();
}

}  // namespace

PrintingSessionListener::~PrintingSessionListener() {
    if (logFile_) {
        std::fclose(logFile_);
    }
}

bool PrintingSessionListener::openLogFile(const std::string& path) {
    std::lock_guard lock(mutex_);
    logPath_ = path;
    return openLocked();
}

void PrintingSessionListener::reopenLogFile() {
    std::lock_guard lock(mutex_);
    if (logPath_.empty()) {
        return;
    }
    if (logFile_) {
        std::fclose(logFile_);
        logFile_ = nullptr;
    }
    openLocked();
}

bool PrintingSessionListener::openLocked() {
    logFile_ = std::fopen(logPath_.c_str(), "a");
    if (logFile_) {
        return true;
    }
    const std::string reason = std::strerror(errno);
    if (!atLineStart_) {
        writeLocked("\n");
        atLineStart_ = true;
    }
    writeLocked(localTimeStamp() + "Cannot open the log file " + logPath_ + ": " + reason + "\n");
    return false;
}

void PrintingSessionListener::modemLog(std::string_view text) {
    std::string lines;
    std::lock_guard lock(mutex_);
    for (const char c : text) {
        if (c == '\r') {
            continue;
        }
        if (c == '\n') {
            if (!atLineStart_) {
                lines += '\n';
                atLineStart_ = true;
            }
            continue;
        }
        if (atLineStart_) {
            lines += localTimeStamp();
            atLineStart_ = false;
        }
        lines += c;
    }
    writeLocked(lines);
}

void PrintingSessionListener::finishLine() {
    std::lock_guard lock(mutex_);
    if (!atLineStart_) {
        writeLocked("\n");
        atLineStart_ = true;
    }
}

void PrintingSessionListener::writeLocked(std::string_view text) {
    if (text.empty()) {
        return;
    }
    for (std::FILE* sink : {out_, logFile_}) {
        if (sink) {
            std::fwrite(text.data(), 1, text.size(), sink);
            std::fflush(sink);
        }
    }
}

void PrintingSessionListener::eventsRaised(const std::vector<TrackerEvent>& events) {
    for (const TrackerEvent& event : events) {
        modemLog(eventLogLine(event));
    }
}

}  // namespace kv820
