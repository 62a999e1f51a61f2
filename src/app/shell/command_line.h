#pragma once

#include <QString>
#include <QStringList>

namespace kv820 {

// What the program was asked to do on its command line.
struct CommandLine {
    enum class Action { RunWindow, CreateDatabase, ListPorts, Receive, Help, Version, Invalid };

    Action action = Action::RunWindow;
    QString error;  // why the command line is invalid
    QString port;   // the port of --receive: a listed entry or a device path

    static CommandLine Parse(const QStringList& arguments);
    static QString HelpText();
};

// The actions that need no window; each returns the process exit code.
int RunCreateDatabase();
int RunListPorts();

}  // namespace kv820
