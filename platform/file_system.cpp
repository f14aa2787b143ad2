// Files and folders on POSIX: case-insensitive name resolution, listings, copy through copy_file_range,
// and whole-file writes that replace the old file only once the new content is safely on disk.
#include "platform/file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "platform/name_compare.h"
#include "store/path_case.h"

namespace xp {
namespace {

// Closes a descriptor on every path out of a function.
class Fd {
public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    ~Fd() { reset(); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    void reset(int fd = -1) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = fd;
    }
    // Closes and reports whether the close succeeded (a late write error shows up here on NFS).
    bool close() {
        int fd = fd_;
        fd_ = -1;
        return fd < 0 || ::close(fd) == 0;
    }

private:
    int fd_;
};

bool statResolved(const std::string& path, struct stat& st) {
    if (path.empty()) return false;
    return ::stat(resolvePath(path).c_str(), &st) == 0;
}

std::string parentOf(const std::string& path) {
    size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string baseOf(const std::string& path) {
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The file a write should replace: the resolved name, or the target of a link at that name.
std::string writeTarget(const std::string& path) {
    std::string resolved = resolvePath(path);
    struct stat st;
    if (::lstat(resolved.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        if (char* real = ::realpath(resolved.c_str(), nullptr)) {
            std::string target(real);
            std::free(real);
            return target;
        }
    }
    return resolved;
}

// A new, exclusively created file beside `target`, named so that listings of photos never pick it up.
struct TempFile {
    Fd fd;
    std::string path;
};

bool createTempBeside(const std::string& target, mode_t mode, TempFile& temp) {
    thread_local std::mt19937_64 random{std::random_device{}()};
    std::string prefix = parentOf(target) + "/." + baseOf(target) + ".tmp-";
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[17];
        std::snprintf(suffix, sizeof suffix, "%016llx", static_cast<unsigned long long>(random()));
        std::string candidate = prefix + suffix;
        int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0) {
            temp.fd.reset(fd);
            temp.path = candidate;
            return true;
        }
        if (errno != EEXIST) return false;
    }
    return false;
}

bool writeAll(int fd, std::string_view bytes) {
    const char* p = bytes.data();
    size_t left = bytes.size();
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += n;
        left -= static_cast<size_t>(n);
    }
    return true;
}

bool copyByReadWrite(int in, int out) {
    std::string buffer(1 << 20, '\0');
    for (;;) {
        ssize_t n = ::read(in, buffer.data(), buffer.size());
        if (n == 0) return true;
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (!writeAll(out, std::string_view(buffer.data(), static_cast<size_t>(n)))) return false;
    }
}

// Moves the data of `in` (from its current offset) to `out`. copy_file_range is called directly, in
// chunks as large as the kernel takes, so that reflinks and server-side copies are used when the file
// system offers them; it falls back to read/write only where the kernel cannot do the copy at all.
bool copyData(int in, int out, off_t size) {
    bool first = true;
    for (;;) {
        ssize_t n = ::copy_file_range(in, nullptr, out, nullptr, static_cast<size_t>(1) << 30, 0);
        if (n > 0) {
            first = false;
            continue;
        }
        if (n == 0) {
            // Some special files report no data through copy_file_range although read() has some.
            if (first && size > 0) return copyByReadWrite(in, out);
            return true;
        }
        if (errno == EINTR) continue;
        if (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP || errno == ENOTSUP ||
            errno == EBADF || errno == ETXTBSY)
            return copyByReadWrite(in, out);
        return false;
    }
}

}  // namespace

std::string resolvePath(const std::string& path) { return path.empty() ? path : resolvePathCase(path); }

bool pathExists(const std::string& path) {
    struct stat st;
    return statResolved(path, st);
}

bool fileExists(const std::string& path) {
    struct stat st;
    return statResolved(path, st) && S_ISREG(st.st_mode);
}

bool folderExists(const std::string& path) {
    struct stat st;
    return statResolved(path, st) && S_ISDIR(st.st_mode);
}

std::int64_t fileSize(const std::string& path) {
    struct stat st;
    if (!statResolved(path, st) || !S_ISREG(st.st_mode)) return -1;
    return static_cast<std::int64_t>(st.st_size);
}

bool createFolder(const std::string& path) {
    if (path.empty()) return false;
    std::string resolved = resolvePath(path);
    if (::mkdir(resolved.c_str(), 0777) == 0) return true;
    return errno == EEXIST && folderExists(resolved);
}

bool createFolders(const std::string& path) {
    if (path.empty()) return false;
    if (folderExists(path)) return true;
    std::string resolved = resolvePath(path);
    for (size_t pos = resolved.find('/', 1); pos != std::string::npos; pos = resolved.find('/', pos + 1)) {
        std::string prefix = resolved.substr(0, pos);
        if (!prefix.empty() && prefix.back() != '/' && !folderExists(prefix) && !createFolder(prefix)) return false;
    }
    return createFolder(resolved);
}

bool setHidden(const std::string& path) { return pathExists(path); }

namespace {

template <class Keep>
std::vector<std::string> listEntries(const std::string& folder, Keep keep) {
    std::vector<std::string> names;
    if (folder.empty()) return names;
    DIR* dir = ::opendir(resolvePath(folder).c_str());
    if (!dir) return names;
    int dirFd = ::dirfd(dir);
    while (dirent* entry = ::readdir(dir)) {
        std::string_view name(entry->d_name);
        if (name == "." || name == "..") continue;
        struct stat st;
        if (::fstatat(dirFd, entry->d_name, &st, 0) != 0) continue;  // a dangling link lists nothing
        if (keep(name, st)) names.emplace_back(name);
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) { return lessNoCase(a, b); });
    return names;
}

}  // namespace

std::vector<std::string> listFiles(const std::string& folder, std::string_view pattern) {
    return listEntries(folder, [pattern](std::string_view name, const struct stat& st) {
        return S_ISREG(st.st_mode) && matchesWildcard(name, pattern);
    });
}

std::vector<std::string> listFolders(const std::string& folder) {
    return listEntries(folder, [](std::string_view, const struct stat& st) { return S_ISDIR(st.st_mode); });
}

bool copyFile(const std::string& from, const std::string& to) {
    if (from.empty() || to.empty()) return false;
    Fd in(::open(resolvePath(from).c_str(), O_RDONLY | O_CLOEXEC));
    struct stat source;
    if (!in.valid() || ::fstat(in.get(), &source) != 0 || !S_ISREG(source.st_mode)) return false;

    std::string target = writeTarget(to);
    struct stat existing;
    bool replacing = ::stat(target.c_str(), &existing) == 0;
    if (replacing) {
        if (existing.st_dev == source.st_dev && existing.st_ino == source.st_ino) return false;
        if (S_ISDIR(existing.st_mode)) return false;
    }

    TempFile temp;
    if (!createTempBeside(target, source.st_mode & 0777, temp)) return false;
    bool ok = (!replacing || ::fchmod(temp.fd.get(), existing.st_mode & 07777) == 0) &&
              copyData(in.get(), temp.fd.get(), source.st_size);
    ok = temp.fd.close() && ok;
    if (ok && ::rename(temp.path.c_str(), target.c_str()) == 0) return true;
    ::unlink(temp.path.c_str());
    return false;
}

bool moveFile(const std::string& from, const std::string& to) {
    if (from.empty() || to.empty()) return false;
    std::string source = resolvePath(from);
    std::string target = resolvePath(to);
    if (::rename(source.c_str(), target.c_str()) == 0) return true;
    if (errno != EXDEV) return false;
    return copyFile(source, target) && ::unlink(source.c_str()) == 0;
}

bool removeFile(const std::string& path) {
    if (path.empty()) return false;
    return ::unlink(resolvePath(path).c_str()) == 0;
}

std::optional<std::string> readFile(const std::string& path) {
    if (path.empty()) return std::nullopt;
    Fd fd(::open(resolvePath(path).c_str(), O_RDONLY | O_CLOEXEC));
    struct stat st;
    if (!fd.valid() || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
    std::string content;
    content.reserve(static_cast<size_t>(st.st_size));
    char buffer[65536];
    for (;;) {
        ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            return std::nullopt;
        }
        content.append(buffer, static_cast<size_t>(n));
    }
    return content;
}

bool writeFile(const std::string& path, std::string_view bytes, const WriteOptions& options) {
    if (path.empty()) return false;
    std::string target = writeTarget(path);
    struct stat existing;
    bool replacing = ::stat(target.c_str(), &existing) == 0;
    if (replacing && !S_ISREG(existing.st_mode)) return false;

    TempFile temp;
    if (!createTempBeside(target, options.mode.value_or(0666), temp)) {
        // A writable file in a folder we may not create files in: rewrite it in place instead.
        if (!replacing || (errno != EACCES && errno != EPERM)) return false;
        Fd fd(::open(target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC));
        bool ok = fd.valid() && (!options.mode || ::fchmod(fd.get(), *options.mode) == 0) &&
                  writeAll(fd.get(), bytes) && (!options.flush || ::fdatasync(fd.get()) == 0);
        return fd.close() && ok;
    }
    // A replaced file keeps its permission bits unless the caller asks for others.
    std::optional<mode_t> chmodTo = options.mode;
    if (!chmodTo && replacing) chmodTo = existing.st_mode & 07777;
    bool ok = (!chmodTo || ::fchmod(temp.fd.get(), *chmodTo) == 0) && writeAll(temp.fd.get(), bytes) &&
              (!options.flush || ::fdatasync(temp.fd.get()) == 0);
    ok = temp.fd.close() && ok;
    if (ok && ::rename(temp.path.c_str(), target.c_str()) == 0) return true;
    ::unlink(temp.path.c_str());
    return false;
}

}  // namespace xp
