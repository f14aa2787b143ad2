// libFuzzer target: a table file and a memo file made of the input, checked, opened (plain and with a
// password) and read field by field, record by record, directly and through a search condition. Odd first bytes
// build a sound table from the input first and then damage chosen bytes of it, so the fuzzer reaches
// the record and memo paths without having to discover the format from nothing.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "store/record_store.h"
#include "store/table_check.h"

namespace {

std::string folder() {
    static std::string dir = [] {
        char tmpl[] = "/tmp/xp_fuzz_store_XXXXXX";
        const char* made = ::mkdtemp(tmpl);
        if (!made) std::abort();
        return std::string(made);
    }();
    return dir;
}

void writeFile(const std::string& path, const uint8_t* data, size_t n) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) std::abort();
    if (n > 0) std::fwrite(data, 1, n, f);
    std::fclose(f);
}

void readEverything(xp::RecordStore& s) {
    const int fields = static_cast<int>(s.tableFields().size());
    const int count = std::min(s.recordCount(), 64);
    for (int r = 1; r <= count; ++r) {
        s.goToRecord(r);
        s.recordSerial();
        for (int f = 1; f <= fields; ++f) s.readField(f).toText();
    }
    s.firstRecord();
    int tested = 0;
    s.findRecord([&] {
        for (int f = 1; f <= fields; ++f) s.readField(f);
        return ++tested >= 64;
    });
}

// Builds a table from the input's description, then overwrites bytes of its files as the input says.
bool synthesize(const std::string& table, const uint8_t* data, size_t size) {
    if (size < 4) return false;
    std::vector<xp::FieldDef> defs;
    const int n = 1 + data[1] % 6;
    for (int k = 0; k < n; ++k) {
        const int type = 1 + data[(2 + k) % size] % 12;
        defs.push_back({"f" + std::to_string(k), type, type == 10 ? 1 + data[(3 + k) % size] % 40 : 0});
    }
    xp::RecordStore s;
    if (!s.createTable(table, defs) || !s.openTable(table)) return false;
    const int records = data[2] % 5;
    for (int r = 0; r < records; ++r) {
        std::vector<xp::FieldValue> values;
        for (const xp::FieldDef& d : defs) {
            const size_t len = data[(4 + r) % size] * 4u;
            if (d.type == 10 || d.type == 12)
                values.push_back(xp::FieldValue::text(std::string(len, 'a')));
            else if (d.type == 11)
                values.push_back(xp::FieldValue::bytes(std::string(len, '\x01')));
            else
                values.push_back(xp::FieldValue::empty(static_cast<xp::FieldType>(d.type)));
        }
        s.appendRecord(values);
    }
    if (data[3] & 1) s.setTablePassword("pw");
    s.closeAllTables();
    // Then (file, offset, value) triples damage the result.
    for (size_t k = 4; k + 3 < size; k += 4) {
        const std::string path = (data[k] & 1) ? folder() + "/f.EDT" : table;
        FILE* f = std::fopen(path.c_str(), "r+b");
        if (!f) continue;
        std::fseek(f, data[k + 1] | (data[k + 2] << 8), SEEK_SET);
        std::fputc(data[k + 3], f);
        std::fclose(f);
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const std::string table = folder() + "/f.EDB";
    if (data[0] & 1) {
        if (!synthesize(table, data, size)) return 0;
    } else {
        // The second and third bytes say how much of the rest is the table file; the remainder is the
        // memo file.
        if (size < 3) return 0;
        const size_t split = std::min<size_t>(size - 3, static_cast<size_t>(data[1] | (data[2] << 8)));
        writeFile(table, data + 3, split);
        writeFile(folder() + "/f.EDT", data + 3 + split, size - 3 - split);
    }

    static bool once = [] {
        xp::setFatalErrorHandler([](const std::string& m) {
            std::fprintf(stderr, "unexpected fatal error: %s\n", m.c_str());
            std::abort();
        });
        return true;
    }();
    (void)once;

    // The check only reads: whatever it makes of the files, the opens below see them unchanged.
    for (const char* password : {"", "pw"}) xp::checkTable(table, password, 0);

    xp::OpenOptions readOnly;
    readOnly.readOnly = true;
    for (const char* password : {"", "pw"}) {
        xp::RecordStore s;
        readOnly.password = password;
        if (s.openTable(table, readOnly)) readEverything(s);
    }
    xp::RecordStore s;  // a writable open repairs the files first
    if (s.openTable(table)) readEverything(s);
    return 0;
}
