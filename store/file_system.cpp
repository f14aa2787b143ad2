// The POSIX file layer: pread/pwrite, ftruncate, fstat, fsync and F_OFD_SETLK byte-range locks.
// Classic process locks are never used: any close() of the same file by the process would drop them.
#include "store/file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace xp {
namespace {

class PosixFile final : public File {
public:
    explicit PosixFile(int fd) : fd_(fd) {}
    ~PosixFile() override { ::close(fd_); }

    int64_t readAt(void* buf, size_t n, int64_t offset) override {
        size_t done = 0;
        while (done < n) {
            ssize_t r = ::pread(fd_, static_cast<char*>(buf) + done, n - done, offset + static_cast<int64_t>(done));
            if (r < 0) {
                if (errno == EINTR) continue;
                return -errno;
            }
            if (r == 0) break;
            done += static_cast<size_t>(r);
        }
        return static_cast<int64_t>(done);
    }

    int64_t writeAt(const void* buf, size_t n, int64_t offset) override {
        size_t done = 0;
        while (done < n) {
            ssize_t r =
                ::pwrite(fd_, static_cast<const char*>(buf) + done, n - done, offset + static_cast<int64_t>(done));
            if (r < 0) {
                if (errno == EINTR) continue;
                return -errno;
            }
            if (r == 0) return -EIO;
            done += static_cast<size_t>(r);
        }
        return static_cast<int64_t>(done);
    }

    int truncate(int64_t length) override {
        while (::ftruncate(fd_, length) != 0) {
            if (errno != EINTR) return -errno;
        }
        return 0;
    }

    int64_t size() override {
        struct stat st;
        if (::fstat(fd_, &st) != 0) return -errno;
        return st.st_size;
    }

    int sync() override { return ::fsync(fd_) == 0 ? 0 : -errno; }

    int lock(int64_t start, int64_t length, bool exclusive) override {
        return setLock(exclusive ? F_WRLCK : F_RDLCK, start, length);
    }

    int unlock(int64_t start, int64_t length) override { return setLock(F_UNLCK, start, length); }

private:
    int setLock(short type, int64_t start, int64_t length) {
        struct flock fl {};
        fl.l_type = type;
        fl.l_whence = SEEK_SET;
        fl.l_start = start;
        fl.l_len = length;
        fl.l_pid = 0;  // required to be 0 for open-file-description locks
        while (::fcntl(fd_, F_OFD_SETLK, &fl) != 0) {
            if (errno == EINTR) continue;
            return (errno == EACCES || errno == EAGAIN) ? -EAGAIN : -errno;
        }
        return 0;
    }

    int fd_;
};

class PosixFileSystem final : public FileSystem {
public:
    std::unique_ptr<File> open(const std::string& path, OpenMode mode, int& error) override {
        // O_NONBLOCK keeps the open of a FIFO from waiting for a writer; it is cleared again below.
        int flags = O_CLOEXEC | O_NONBLOCK | O_NOCTTY;
        switch (mode) {
            case OpenMode::Read: flags |= O_RDONLY; break;
            case OpenMode::ReadWrite: flags |= O_RDWR; break;
            case OpenMode::Create: flags |= O_RDWR | O_CREAT | O_TRUNC; break;
            case OpenMode::OpenOrCreate: flags |= O_RDWR | O_CREAT; break;
            case OpenMode::CreateNew: flags |= O_RDWR | O_CREAT | O_EXCL; break;
        }
        int fd;
        do {
            fd = ::open(path.c_str(), flags, 0666);
        } while (fd < 0 && errno == EINTR);
        if (fd < 0) {
            error = errno;
            return nullptr;
        }
        struct stat st;
        const int statError = ::fstat(fd, &st) == 0 ? 0 : errno;
        if (statError != 0 || !S_ISREG(st.st_mode)) {
            error = statError != 0 ? statError : S_ISDIR(st.st_mode) ? EISDIR : ENODEV;
            ::close(fd);
            return nullptr;
        }
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
        error = 0;
        return std::make_unique<PosixFile>(fd);
    }

    int rename(const std::string& from, const std::string& to) override {
        return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : -errno;
    }

    int remove(const std::string& path) override { return ::unlink(path.c_str()) == 0 ? 0 : -errno; }

    bool exists(const std::string& path) override {
        struct stat st;
        return ::stat(path.c_str(), &st) == 0;
    }

    int syncFolder(const std::string& folder) override {
        int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) return -errno;
        int r = ::fsync(fd) == 0 ? 0 : -errno;
        ::close(fd);
        return r;
    }
};

}  // namespace

std::shared_ptr<FileSystem> FileSystem::posix() {
    static std::shared_ptr<FileSystem> instance = std::make_shared<PosixFileSystem>();
    return instance;
}

}  // namespace xp
