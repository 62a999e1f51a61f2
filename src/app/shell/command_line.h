#pragma once

#include <QString>
#include <QStringList>

namespace kv820 {

// What the program was asked to do on its command line.
struct CommandLine {
    enum class Action { RunWindow, CreateDatabase, Help, Version, Invalid };

    Action action = Action::RunWindow;
    QString error;  // why the command line is invalid

    static CommandLine Parse(const QStringList& arguments);
    static QString HelpText();
};

// Runs the actions that need no window; returns the process exit code.
int RunCreateDatabase();

}  // namespace kv820
