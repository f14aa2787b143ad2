// Creating an installation: the data folder with the four tables protected by the table password, the
// gallery folders, the admin account and, on request, the program itself. An existing or half-made
// installation is never touched.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "appdata/app_paths.h"

namespace xp {

struct InstallOptions {
    // A program file to copy into the installation folder (under its own file name, executable), so
    // that the program finds its data beside itself. Empty: no program is copied.
    std::string programFile;
    // Adds content before the installation appears. `staged` are the paths of the staging folder, whose
    // data folder already holds the four tables; `final` are the paths the installation will have
    // (for the paths that content stores). Returns "" on success, otherwise the reason it failed.
    std::function<std::string(const AppPaths& staged, const AppPaths& final)> fill;
};

struct InstallResult {
    bool ok = false;
    std::string message;  // what was created, or why nothing was
    std::string folder;   // the installation folder as an absolute path (when ok)
};

// Everything is built in a staging folder inside `dir` and moved into place at the end, the data folder
// last: `dir/data` either appears complete or not at all, and a failure leaves `dir` as it was.
// `dir` is created when missing (its parent must exist). Refused, with nothing changed, when `dir` is not
// a writable folder, when it already holds a data folder (the message then describes each table found:
// valid, of the wrong layout, or not opening with the table password) or the program file's name.
InstallResult createInstallation(const std::string& dir, const InstallOptions& options = {});

// One line per table of an existing data folder, saying whether it is there and usable.
std::vector<std::string> describeDataFolder(const std::string& dataFolder);

}  // namespace xp
