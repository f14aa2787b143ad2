// The command line shared by `init` and `demo`: DIR [--with-program PATH], and running an installation.
#pragma once

#include <string>
#include <vector>

#include "appdata/installation.h"

namespace xp::admin {

// Parses the words after the command name into `dir` and `options.programFile`; "" on success,
// otherwise what is wrong with them.
std::string parseInstallArgs(const std::vector<std::string>& args, std::string& dir, InstallOptions& options);

// Parses, installs and reports: the message on stdout (success, exit 0) or stderr (exit 1; bad
// arguments exit 2 with the usage).
int runInstallCommand(const char* command, const char* usage, const std::vector<std::string>& args,
                      InstallOptions options);

}  // namespace xp::admin
