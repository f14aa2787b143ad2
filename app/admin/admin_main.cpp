// xuanpian-admin: the administration tool's entry point, dispatching to the registered sub-commands.
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "app/admin/admin_command.h"

namespace xp::admin {
namespace {

std::map<std::string, AdminCommand>& commands() {
    static std::map<std::string, AdminCommand> all;
    return all;
}

void printUsage(FILE* out) {
    std::fprintf(out, "usage: xuanpian-admin COMMAND ...\n");
    for (const auto& [name, command] : commands()) std::fprintf(out, "%s\n", command.usage.c_str());
}

}  // namespace

void registerAdminCommand(AdminCommand command) {
    std::string name = command.name;
    commands()[name] = std::move(command);
}

}  // namespace xp::admin

int main(int argc, char** argv) {
    using namespace xp::admin;
    if (argc < 2 || std::string(argv[1]) == "help" || std::string(argv[1]) == "--help") {
        printUsage(argc < 2 ? stderr : stdout);
        return argc < 2 ? 2 : 0;
    }
    auto it = commands().find(argv[1]);
    if (it == commands().end()) {
        std::fprintf(stderr, "xuanpian-admin: unknown command '%s'\n", argv[1]);
        printUsage(stderr);
        return 2;
    }
    return it->second.run(std::vector<std::string>(argv + 2, argv + argc));
}
