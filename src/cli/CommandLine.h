#pragma once

#include "common/MessageLanguage.h"

#include <QByteArray>
#include <QStringList>

#include <memory>
#include <vector>

namespace setzaiko::cli {

// Exit statuses of setzaiko-cli.
inline constexpr int exitSuccess = 0;
inline constexpr int exitRefused = 1;
inline constexpr int exitFailure = 2;
inline constexpr int exitUsage = 64;

// Runs one command (the arguments after the program name). What it prints goes to out and
// err as UTF-8; the return value is the exit status. The usage and the help are printed in
// the given language; every command's output is the same in both. Where keptUntilExit is
// given, what the command read is left there, for the caller to let go of or to end with.
int runCommandLine(const QStringList& arguments, QByteArray& out, QByteArray& err,
                   MessageLanguage language = MessageLanguage::English,
                   std::vector<std::shared_ptr<const void>>* keptUntilExit = nullptr);

// A text as one item of the output: backslash, TAB, CR and LF become \\, \t, \r and \n, so
// that every item stays on its line and TAB-separated fields stay apart.
QByteArray escaped(const QString& text);

} // namespace setzaiko::cli
