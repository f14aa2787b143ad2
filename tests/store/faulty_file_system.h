// A file layer for tests that fails chosen calls: the Nth read, write, truncate or sync (counted over
// every file it opened, and over renames and removals for "any change"), once or from then on.
#pragma once

#include <cerrno>
#include <memory>

#include "store/file_system.h"

namespace xp::test {

enum class Fault { Read, Write, Truncate, AnyChange };

class FaultyFileSystem : public FileSystem, public std::enable_shared_from_this<FaultyFileSystem> {
public:
    // Fails call number `n` (from 1) of that kind; with `persistent` also every later one.
    void failAt(Fault kind, int n, bool persistent, int errnoValue = EIO) {
        kind_ = kind;
        failAt_ = n;
        persistent_ = persistent;
        errno_ = errnoValue;
        calls_ = 0;
        hit_ = false;
    }
    void heal() { failAt_ = 0; }
    bool hit() const { return hit_; }
    int calls() const { return calls_; }

    // Returns the errno to fail with, or 0 to let the call through.
    int check(Fault kind) {
        const bool counts = kind == kind_ || (kind_ == Fault::AnyChange && kind != Fault::Read);
        if (!counts || failAt_ == 0) return 0;
        ++calls_;
        if (calls_ == failAt_ || (persistent_ && calls_ > failAt_)) {
            hit_ = true;
            return errno_;
        }
        return 0;
    }

    std::unique_ptr<File> open(const std::string& path, OpenMode mode, int& error) override;
    int rename(const std::string& from, const std::string& to) override {
        if (int e = check(Fault::AnyChange)) return -e;
        return FileSystem::posix()->rename(from, to);
    }
    int remove(const std::string& path) override {
        if (int e = check(Fault::AnyChange)) return -e;
        return FileSystem::posix()->remove(path);
    }
    bool exists(const std::string& path) override { return FileSystem::posix()->exists(path); }
    int syncFolder(const std::string& folder) override { return FileSystem::posix()->syncFolder(folder); }

private:
    Fault kind_ = Fault::Read;
    int failAt_ = 0;
    bool persistent_ = false;
    int errno_ = EIO;
    int calls_ = 0;
    bool hit_ = false;
};

class FaultyFile : public File {
public:
    FaultyFile(std::unique_ptr<File> inner, FaultyFileSystem& fs) : inner_(std::move(inner)), fs_(fs) {}
    int64_t readAt(void* buf, size_t n, int64_t offset) override {
        if (int e = fs_.check(Fault::Read)) return -e;
        return inner_->readAt(buf, n, offset);
    }
    int64_t writeAt(const void* buf, size_t n, int64_t offset) override {
        if (int e = fs_.check(Fault::Write)) return -e;
        return inner_->writeAt(buf, n, offset);
    }
    int truncate(int64_t length) override {
        if (int e = fs_.check(Fault::Truncate)) return -e;
        return inner_->truncate(length);
    }
    int64_t size() override { return inner_->size(); }
    int sync() override {
        if (int e = fs_.check(Fault::AnyChange)) return -e;
        return inner_->sync();
    }
    int lock(int64_t start, int64_t length, bool exclusive) override { return inner_->lock(start, length, exclusive); }
    int unlock(int64_t start, int64_t length) override { return inner_->unlock(start, length); }

private:
    std::unique_ptr<File> inner_;
    FaultyFileSystem& fs_;
};

inline std::unique_ptr<File> FaultyFileSystem::open(const std::string& path, OpenMode mode, int& error) {
    if (mode == OpenMode::Create) {
        if (int e = check(Fault::AnyChange)) {
            error = e;
            return nullptr;
        }
    }
    auto inner = FileSystem::posix()->open(path, mode, error);
    if (!inner) return nullptr;
    return std::make_unique<FaultyFile>(std::move(inner), *this);
}

}  // namespace xp::test
