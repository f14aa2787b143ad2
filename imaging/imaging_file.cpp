// File reading and replacing for the imaging code: plain POSIX calls, EINTR handled, errors reported.
#include "imaging/imaging_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <new>
#include <vector>

namespace xp {

namespace {

// Large buffers, mapped in 2 MiB steps and advised to use transparent huge pages: the kernel then
// backs 10 MB with five pages instead of 2560. Returned buffers are kept for the next reader.
class BufferPool {
public:
    struct Block {
        std::uint8_t* data = nullptr;
        std::size_t capacity = 0;
    };

    Block take(std::size_t minCapacity) {
        {
            std::lock_guard lock(mutex_);
            auto best = free_.end();
            for (auto it = free_.begin(); it != free_.end(); ++it)
                if (it->capacity >= minCapacity && (best == free_.end() || it->capacity < best->capacity)) best = it;
            if (best != free_.end()) {
                Block b = *best;
                free_.erase(best);
                return b;
            }
        }
        const std::size_t capacity = (minCapacity + kStep - 1) / kStep * kStep;
        void* p = ::mmap(nullptr, capacity, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (p == MAP_FAILED) throw std::bad_alloc();
        ::madvise(p, capacity, MADV_HUGEPAGE);  // advice only: without huge pages it works all the same
        return {static_cast<std::uint8_t*>(p), capacity};
    }

    void give(Block b) {
        if (!b.data) return;
        std::lock_guard lock(mutex_);
        free_.push_back(b);
        if (free_.size() > kKept) {
            // Keep the largest: they serve every request the smaller ones would.
            auto smallest = std::min_element(free_.begin(), free_.end(),
                                             [](const Block& x, const Block& y) { return x.capacity < y.capacity; });
            ::munmap(smallest->data, smallest->capacity);
            free_.erase(smallest);
        }
    }

private:
    static constexpr std::size_t kStep = std::size_t{2} << 20;
    static constexpr std::size_t kKept = 4;
    std::mutex mutex_;
    std::vector<Block> free_;
};

// Never destroyed: readers of other threads may give their buffers back during exit.
BufferPool& pool() {
    static BufferPool* instance = new BufferPool;
    return *instance;
}

}  // namespace

FileReader::~FileReader() {
    close();
    pool().give({buffer_, capacity_});
}

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
        BufferPool::Block bigger = pool().take(n);
        if (size_ > 0) std::memcpy(bigger.data, buffer_, size_);
        pool().give({buffer_, capacity_});
        buffer_ = bigger.data;
        capacity_ = bigger.capacity;
    }
    while (size_ < n) {
        ssize_t got = ::pread(fd_, buffer_ + size_, n - size_, static_cast<off_t>(size_));
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

bool flushToDisk(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
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
