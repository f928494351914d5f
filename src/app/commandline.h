#pragma once

#include <QString>
#include <QStringList>

// What the command line asks for: --help and --version print and end; any other first argument is
// the file to open (a movie, or a playlist by its contents).
enum class CommandLineRequest { Run, Help, Version };

CommandLineRequest ParseCommandLine(const QStringList& arguments);
QString UsageText();
QString VersionText();
