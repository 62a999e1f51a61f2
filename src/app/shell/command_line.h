#pragma once

#include <QString>
#include <QStringList>

namespace kv820 {

// What the program was asked to do on its command line.
struct CommandLine {
    enum class Action { RunWindow, CreateDatabase, ListPorts, Help, Version, Invalid };

    Action action = Action::RunWindow;
    QString error;  // why the command line is invalid

    static CommandLine Parse(const QStringList& arguments);
    static QString HelpText();
};

// The actions that need no window; each returns the process exit code.
int RunCreateDatabase();
int RunListPorts();

}  // namespace kv820
