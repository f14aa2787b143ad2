// posix_spawn of the open command with an argument vector; the child keeps none of our descriptors.
#include "platform/launcher.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <mutex>
#include <thread>

extern char** environ;

namespace xp {
namespace {

std::mutex& commandMutex() {
    static std::mutex m;
    return m;
}

std::vector<std::string>& command() {
    static std::vector<std::string> words{"xdg-open"};
    return words;
}

bool launch(std::string target) {
    if (target.empty()) return false;
    // xdg-open would read a leading "-" as an option of its own.
    if (target.front() == '-') target = "./" + target;
    std::vector<std::string> words = openCommand();
    words.push_back(std::move(target));
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    if (posix_spawn_file_actions_init(&actions) != 0) return false;
    // The browser may live for hours: it must not inherit our table files, whose open-file-description
    // locks would stay held as long as it runs, nor read our terminal.
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addclosefrom_np(&actions, 3);
    // Nor our signal mask and ignored signals, and it gets a session of its own, so that closing the
    // terminal the program was started from leaves the browser open.
    posix_spawnattr_t attributes;
    if (posix_spawnattr_init(&attributes) != 0) {
        posix_spawn_file_actions_destroy(&actions);
        return false;
    }
    sigset_t none, all;
    sigemptyset(&none);
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &all);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSID);
    pid_t pid = 0;
    int rc = posix_spawnp(&pid, argv[0], &actions, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) return false;
    // Reap the child whenever it ends, so that no zombie is left; nobody waits for its result.
    std::thread([pid] {
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {}
    }).detach();
    return true;
}

}  // namespace

bool openFolder(const std::string& path) { return launch(path); }

bool openWebAddress(const std::string& address) {
    // An address is a single argument; a leading "-" is no address at all.
    if (!address.empty() && address.front() == '-') return false;
    return launch(address);
}

void setOpenCommand(std::vector<std::string> words) {
    std::lock_guard lock(commandMutex());
    command() = words.empty() ? std::vector<std::string>{"xdg-open"} : std::move(words);
}

std::vector<std::string> openCommand() {
    std::lock_guard lock(commandMutex());
    return command();
}

}  // namespace xp
