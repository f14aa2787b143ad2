// Argument handling and reporting of the installation commands.
#include "app/admin/install_args.h"

#include <cstdio>

namespace xp::admin {

std::string parseInstallArgs(const std::vector<std::string>& args, std::string& dir, InstallOptions& options) {
    dir.clear();
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--with-program") {
            if (i + 1 >= args.size()) return "--with-program needs the path of the program file";
            options.programFile = args[++i];
        } else if (a.rfind("--with-program=", 0) == 0) {
            options.programFile = a.substr(15);
            if (options.programFile.empty()) return "--with-program needs the path of the program file";
        } else if (a.size() > 1 && a[0] == '-') {
            return "unknown option " + a;
        } else if (dir.empty()) {
            dir = a;
        } else {
            return "only one installation folder can be given";
        }
    }
    if (dir.empty()) return "the installation folder is missing";
    return {};
}

int runInstallCommand(const char* command, const char* usage, const std::vector<std::string>& args,
                      InstallOptions options) {
    std::string dir;
    if (std::string error = parseInstallArgs(args, dir, options); !error.empty()) {
        std::fprintf(stderr, "xuanpian-admin %s: %s\nusage: %s\n", command, error.c_str(), usage);
        return 2;
    }
    InstallResult result = createInstallation(dir, options);
    if (!result.ok) {
        std::fprintf(stderr, "xuanpian-admin %s: %s\n", command, result.message.c_str());
        return 1;
    }
    std::printf("%s\n", result.message.c_str());
    return 0;
}

}  // namespace xp::admin
