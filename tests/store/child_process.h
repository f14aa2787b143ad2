// A forked helper process for tests that need a second process on the same files, with a pipe each way
// for one-byte signals. The child runs a function and leaves with _exit, never returning into the test.
#pragma once

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>

namespace xp::test {

class ChildProcess {
public:
    // `body` runs in the child and returns its exit code.
    explicit ChildProcess(const std::function<int(ChildProcess&)>& body) {
        if (::pipe(down_) != 0 || ::pipe(up_) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(down_[1]);
            ::close(up_[0]);
            inChild_ = true;
            int code = 99;
            try {
                code = body(*this);
            } catch (...) {
                code = 98;
            }
            ::_exit(code);
        }
        ::close(down_[0]);
        ::close(up_[1]);
    }
    ~ChildProcess() {
        if (!inChild_ && pid_ > 0 && !reaped_) {
            ::kill(pid_, SIGKILL);
            wait();
        }
        ::close(inChild_ ? down_[0] : down_[1]);
        ::close(inChild_ ? up_[1] : up_[0]);
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool started() const { return pid_ > 0; }

    // Sends one byte to the other side.
    void send(char c) { (void)!::write(inChild_ ? up_[1] : down_[1], &c, 1); }
    // Waits for one byte from the other side (up to `timeoutMs`); '\0' on timeout or end.
    char receive(int timeoutMs = 10000) {
        const int fd = inChild_ ? down_[0] : up_[0];
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, timeoutMs) <= 0) return '\0';
        char c = '\0';
        return ::read(fd, &c, 1) == 1 ? c : '\0';
    }
    // Reads everything the child still has to say until it exits (child writes with sendText).
    void sendText(const std::string& s) { (void)!::write(up_[1], s.data(), s.size()); }
    std::string drain() {
        std::string all;
        char buf[4096];
        ssize_t n;
        while ((n = ::read(up_[0], buf, sizeof buf)) > 0) all.append(buf, static_cast<size_t>(n));
        return all;
    }

    void kill() { ::kill(pid_, SIGKILL); }
    // The exit code, or 128 + the signal that ended the child.
    int wait() {
        int status = 0;
        ::waitpid(pid_, &status, 0);
        reaped_ = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }

private:
    int down_[2] = {-1, -1};  // parent -> child
    int up_[2] = {-1, -1};    // child -> parent
    pid_t pid_ = -1;
    bool inChild_ = false;
    bool reaped_ = false;
};

}  // namespace xp::test
