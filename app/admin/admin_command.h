// The sub-commands of xuanpian-admin: each source file in app/admin registers its own.
#pragma once

#include <string>
#include <vector>

namespace xp::admin {

struct AdminCommand {
    std::string name;   // first word on the command line, e.g. "table" or "init"
    std::string usage;  // one or more lines printed by `xuanpian-admin help`
    // Receives the words after the command name; returns the process exit code.
    int (*run)(const std::vector<std::string>& args);
};

void registerAdminCommand(AdminCommand command);

// A file-level static of this type registers a command before main runs.
struct AdminCommandRegistrar {
    explicit AdminCommandRegistrar(AdminCommand command) { registerAdminCommand(std::move(command)); }
};

}  // namespace xp::admin
