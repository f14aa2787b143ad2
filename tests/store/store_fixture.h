// Shared test fixture for the record store: a fresh temporary folder per test, a fatal error handler that
// throws, raw file access and a few ready-made table layouts.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "store/record_store.h"

namespace xp::test {

class TempFolder {
public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "xp_store_XXXXXX").string();
        path_ = ::mkdtemp(pattern.data()) ? pattern : std::string();
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

inline std::vector<uint8_t> readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

inline void writeBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline int32_t i32At(const std::vector<uint8_t>& b, size_t at) {
    return static_cast<int32_t>(b.at(at) | (b.at(at + 1) << 8) | (b.at(at + 2) << 16) |
                                (static_cast<uint32_t>(b.at(at + 3)) << 24));
}

inline void putI32At(std::vector<uint8_t>& b, size_t at, int32_t v) {
    for (int k = 0; k < 4; ++k)
        b.at(at + static_cast<size_t>(k)) = static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * k));
}

inline FieldValue txt(const std::string& s) { return FieldValue::text(s); }

// The copies the repair on opening keeps of a table file before cutting it ("<file>.cut-..."), by name.
inline std::vector<std::string> cutCopiesOf(const std::string& tablePath) {
    std::vector<std::string> out;
    const std::filesystem::path table(tablePath);
    const std::string prefix = table.filename().string() + ".cut-";
    for (const auto& entry : std::filesystem::directory_iterator(table.parent_path())) {
        if (entry.path().filename().string().rfind(prefix, 0) == 0) out.push_back(entry.path().string());
    }
    std::sort(out.begin(), out.end());
    return out;
}

class StoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        previous_ = setFatalErrorHandler([](const std::string& m) { throw FatalStoreError(m); });
    }
    void TearDown() override { setFatalErrorHandler(previous_); }

    std::string path(const std::string& name) const { return folder_.path() + "/" + name; }

    // The photo-like layout: an int, a text of 20 and a memo.
    std::string createSmall(const std::string& name = "t.EDB") {
        const std::string p = path(name);
        EXPECT_TRUE(store.createTable(p, {{"id", 3}, {"name", 10, 20}, {"note", 12}})) << lastError();
        return p;
    }

    TempFolder folder_;
    RecordStore store;
    FatalErrorHandler previous_;
};

}  // namespace xp::test
