// A fresh temporary folder per test, removed with everything in it afterwards.
#pragma once

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace xp::test {

class TempDir {
public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "xp-test-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data()) ? pattern : std::string();
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

    // Writes a file below the folder, creating its parent folders.
    std::string put(const std::string& name, const std::string& bytes) const {
        std::string p = *this / name;
        std::filesystem::create_directories(std::filesystem::path(p).parent_path());
        std::ofstream(p, std::ios::binary) << bytes;
        return p;
    }

    static std::string slurp(const std::string& p) {
        std::ifstream in(p, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    static mode_t modeOf(const std::string& p) {
        struct stat st {};
        ::stat(p.c_str(), &st);
        return st.st_mode & 07777;
    }

    // Entries of a folder, to see that no temporary file was left behind.
    static int entryCount(const std::string& folder) {
        int n = 0;
        for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(folder)) ++n;
        return n;
    }

private:
    std::string path_;
};

}  // namespace xp::test
