// File reading and replacing for the imaging code: plain POSIX calls, EINTR handled, errors reported.
#include "selection/imaging_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

namespace xp {

FileReader::~FileReader() { close(); }

void FileReader::close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    fileSize_ = 0;
    size_ = 0;
}

bool FileReader::open(const std::string& path) {
    close();
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    fileSize_ = static_cast<std::size_t>(st.st_size);
    return true;
}

bool FileReader::ensure(std::size_t n) {
    if (fd_ < 0) return false;
    if (n > fileSize_) n = fileSize_;
    if (n <= size_) return true;
    if (n > capacity_) {
        // Grow geometrically so that a prefix read followed by a full read reallocates at most once more.
        std::size_t grown = capacity_ * 2 > n ? capacity_ * 2 : n;
        if (grown > fileSize_) grown = fileSize_;
        auto bigger = std::make_unique_for_overwrite<std::uint8_t[]>(grown);
        if (size_ > 0) std::memcpy(bigger.get(), buffer_.get(), size_);
        buffer_ = std::move(bigger);
        capacity_ = grown;
    }
    while (size_ < n) {
        ssize_t got = ::pread(fd_, buffer_.get() + size_, n - size_, static_cast<off_t>(size_));
        if (got < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (got == 0) {
            // The file shrank since open(): what is there is all there is.
            fileSize_ = size_;
            return true;
        }
        size_ += static_cast<std::size_t>(got);
    }
    return true;
}

namespace {

bool writeAll(int fd, const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        ssize_t put = ::write(fd, data, size);
        if (put < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += put;
        size -= static_cast<std::size_t>(put);
    }
    return true;
}

}  // namespace

bool writeFileReplacing(const std::string& target, const std::uint8_t* data, std::size_t size) {
    static std::atomic<unsigned> counter{0};
    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = target + ".part" + std::to_string(::getpid()) + "_" + std::to_string(counter++);
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) return false;
    }
    if (fd < 0) return false;
    bool ok = writeAll(fd, data, size);
    // close() can be the first to report a full disk on some file systems.
    if (::close(fd) != 0) ok = false;
    if (ok && ::rename(temp.c_str(), target.c_str()) != 0) ok = false;
    if (!ok) ::unlink(temp.c_str());
    return ok;
}

FileStamp fileStamp(const std::string& path) {
    FileStamp stamp;
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return stamp;
    stamp.exists = true;
    stamp.device = st.st_dev;
    stamp.inode = st.st_ino;
    stamp.size = st.st_size;
    stamp.mtimeNs = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    return stamp;
}

}  // namespace xp
