// `xuanpian-admin table ...`: create, fill, inspect, change and check record-store tables by hand.
// Values on the command line and in the JSON output are UTF-8; the files hold GBK.
#include <sys/stat.h>

#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "app/admin/admin_command.h"
#include "appdata/text_codec.h"
#include "store/path_case.h"
#include "store/record_store.h"
#include "store/table_check.h"
#include "store/table_format.h"
#include "store/text_rules.h"

namespace xp::admin {
namespace {

constexpr const char* kUsage =
    "table create FILE [--force] NAME:TYPE[:LEN]...\n"
    "                                          TYPE: Byte Short Int Int64 Float Double Bool DateTime\n"
    "                                          CodeRef Text Bytes Memo; LEN for Text (1..1024);\n"
    "                                          --force replaces an existing table nobody has open\n"
    "table append FILE [--password P] VALUE... values in field order; Bytes in hex\n"
    "table dump FILE [--password P]            one JSON object per record\n"
    "table write FILE [--password P] RECORD FIELD VALUE\n"
    "table delete FILE [--password P] RECORD\n"
    "table purge FILE [--password P]\n"
    "table set-password FILE [--password OLD] NEW   (NEW \"\" removes the password)\n"
    "table check FILE [--password P]           verifies header, fields, records and memo chains\n"
    "                                          (exit 0 sound, 1 damaged, 3 recovery pending)";

constexpr const char* kTypeNames[] = {"Byte", "Short",    "Int",     "Int64", "Float", "Double",
                                      "Bool", "DateTime", "CodeRef", "Text",  "Bytes", "Memo"};

// A usage or input problem: printed with the tool's own text.
struct InputError {
    std::string message;
};

int storeFailure() {
    const int code = lastError();
    std::fprintf(stderr, "xuanpian-admin table: error %d: %s\n", code, errorMessage(code).c_str());
    return 1;
}

struct Args {
    std::string file;
    std::optional<std::string> password;  // UTF-8 as typed
    bool force = false;
    std::vector<std::string> rest;
};

// A text as the GBK bytes the files hold, refused when the conversion would not give it back unchanged
// (invalid UTF-8 would be stored as "?").
std::string gbkOf(const std::string& utf8, const char* what) {
    std::string gbk = toGbk(utf8);
    if (fromGbk(gbk) != utf8) throw InputError{std::string(what) + " '" + utf8 + "' is not valid UTF-8"};
    return gbk;
}

// What kind of thing other than a regular file `path` names, or "" when it is a file or does not exist.
std::string notAFile(const std::string& path) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0 || S_ISREG(st.st_mode)) return {};
    if (S_ISDIR(st.st_mode)) return "a folder";
    if (S_ISFIFO(st.st_mode)) return "a FIFO";
    if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode)) return "a device";
    return "not a regular file";
}

// FILE must name a table file: neither it nor its name with the default extension may be a folder, a
// device or a FIFO (whose open would block).
void checkTablePath(const std::string& file) {
    if (!file.empty() && file.back() == '/') throw InputError{"'" + file + "' names a folder, not a table file"};
    for (const std::string& p : {file, format::withDefaultExtension(file)}) {
        const std::string kind = notAFile(p);
        if (!kind.empty()) throw InputError{"'" + p + "' is " + kind + ", not a table file"};
    }
}

// FILE first, then the words; `--password P` (or `--password=P`) may stand anywhere, `--` ends options.
Args parseArgs(const std::vector<std::string>& words) {
    Args a;
    bool options = true;
    std::vector<std::string> plain;
    for (size_t k = 0; k < words.size(); ++k) {
        const std::string& w = words[k];
        if (options && w == "--") {
            options = false;
        } else if (options && w == "--password") {
            if (k + 1 >= words.size()) throw InputError{"--password needs a value"};
            a.password = words[++k];
        } else if (options && w.rfind("--password=", 0) == 0) {
            a.password = w.substr(11);
        } else if (options && w == "--force") {
            a.force = true;
        } else {
            plain.push_back(w);
        }
    }
    if (plain.empty()) throw InputError{"FILE is missing"};
    a.file = plain.front();
    checkTablePath(a.file);
    a.rest.assign(plain.begin() + 1, plain.end());
    return a;
}

int64_t parseInteger(const std::string& s, int64_t lo, int64_t hi) {
    errno = 0;
    char* end = nullptr;
    const long long v = std::strtoll(s.c_str(), &end, 10);
    if (s.empty() || *end != '\0' || errno == ERANGE || v < lo || v > hi) {
        throw InputError{"'" + s + "' is not an integer in " + std::to_string(lo) + ".." + std::to_string(hi)};
    }
    return v;
}

// A finite number that a double holds (NaN, infinities and values beyond the double range are refused:
// they would be stored as something else or read back as null).
double parseReal(const std::string& s) {
    char* end = nullptr;
    errno = 0;
    const double v = std::strtod(s.c_str(), &end);
    if (s.empty() || *end != '\0') throw InputError{"'" + s + "' is not a number"};
    if (errno == ERANGE && v != 0) throw InputError{"'" + s + "' is out of range for a Double"};
    if (!std::isfinite(v)) throw InputError{"'" + s + "' is not a finite number"};
    if (errno == ERANGE) throw InputError{"'" + s + "' is too small for a Double: it would be stored as 0"};
    return v;
}

float parseFloat(const std::string& s) {
    const double v = parseReal(s);
    if (std::fabs(v) > FLT_MAX) throw InputError{"'" + s + "' is out of range for a Float"};
    const float f = static_cast<float>(v);
    if (f == 0 && v != 0) throw InputError{"'" + s + "' is too small for a Float: it would be stored as 0"};
    return f;
}

bool isLeapYear(int y) { return y % 4 == 0 && (y % 100 != 0 || y % 400 == 0); }

int daysInMonth(int y, int m) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && isLeapYear(y) ? 29 : days[m - 1];
}

// The range a DateTime field reads back unchanged (values beyond it read as its ends).
constexpr double kFirstDay = -657434.0, kLastDay = 2958465.0;

// A date-time as its number of days, or as YYYY-MM-DD with an optional time HH:MM[:SS] after a space or T.
double parseDateTime(const std::string& s) {
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, sec = 0, used = 0;
    if (std::sscanf(s.c_str(), "%d-%d-%d%n", &y, &mo, &d, &used) != 3) return parseReal(s);
    const char* rest = s.c_str() + used;
    bool ok = *rest == '\0';
    if (!ok && (*rest == ' ' || *rest == 'T')) {
        int more = 0;
        if (std::sscanf(rest + 1, "%d:%d%n", &h, &mi, &more) == 2) {
            const char* tail = rest + 1 + more;
            if (*tail == ':') {
                int last = 0;
                ok = std::sscanf(tail + 1, "%d%n", &sec, &last) == 1 && tail[1 + last] == '\0';
            } else {
                ok = *tail == '\0';
            }
        }
    }
    if (!ok || mo < 1 || mo > 12 || d < 1 || h < 0 || h > 23 || mi < 0 || mi > 59 || sec < 0 || sec > 59) {
        throw InputError{"'" + s + "' is not a date (YYYY-MM-DD[ HH:MM[:SS]]) or a number of days"};
    }
    if (y < 100 || y > 9999) throw InputError{"'" + s + "': the year must be 100..9999"};
    if (d > daysInMonth(y, mo)) throw InputError{"'" + s + "' is not a date: that month has fewer days"};
    return dateTimeFromParts(y, mo, d, h, mi, sec);
}

std::string parseHex(const std::string& s) {
    auto digit = [&](char c) {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        throw InputError{"'" + s + "' is not hexadecimal"};
    };
    if (s.size() % 2 != 0) throw InputError{"'" + s + "' has an odd number of hex digits"};
    std::string out;
    for (size_t k = 0; k < s.size(); k += 2) out.push_back(static_cast<char>(digit(s[k]) * 16 + digit(s[k + 1])));
    return out;
}

std::string toHex(const std::string& bytes) {
    static const char* hex = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) {
        out.push_back(hex[c >> 4]);
        out.push_back(hex[c & 15]);
    }
    return out;
}

// A date-time given as a number of days must lie in the range the field reads back.
double parseDays(const std::string& s) {
    const double v = parseDateTime(s);
    if (v < kFirstDay || v > kLastDay) throw InputError{"'" + s + "' is outside the DateTime range (years 100..9999)"};
    return v;
}

// A command-line word as a value of `field`; refused when the field could not hold it as given.
FieldValue valueFor(const FieldDef& field, const std::string& word) {
    switch (static_cast<FieldType>(field.type)) {
        case FieldType::Byte: return FieldValue::byte(static_cast<uint8_t>(parseInteger(word, 0, 255)));
        case FieldType::Short: return FieldValue::shortInt(static_cast<int16_t>(parseInteger(word, -32768, 32767)));
        case FieldType::Int: return FieldValue::integer(static_cast<int32_t>(parseInteger(word, INT32_MIN, INT32_MAX)));
        case FieldType::Int64: return FieldValue::int64(parseInteger(word, INT64_MIN, INT64_MAX));
        case FieldType::Float: return FieldValue::single(parseFloat(word));
        case FieldType::Double: return FieldValue::real(parseReal(word));
        case FieldType::Bool:
            if (word == "true" || word == "1" || word == "真") return FieldValue::boolean(true);
            if (word == "false" || word == "0" || word == "假") return FieldValue::boolean(false);
            throw InputError{"'" + word + "' is not true or false"};
        case FieldType::DateTime: return FieldValue::dateTime(parseDays(word));
        case FieldType::CodeRef: return FieldValue::codeRef(static_cast<uint32_t>(parseInteger(word, 0, UINT32_MAX)));
        case FieldType::Text: {
            std::string gbk = gbkOf(word, "value");
            if (gbk.size() > static_cast<size_t>(field.length)) {
                throw InputError{"'" + word + "' takes " + std::to_string(gbk.size()) + " bytes, more than the " +
                                 std::to_string(field.length) + " of field '" + fromGbk(field.name) + "'"};
            }
            return FieldValue::text(std::move(gbk));
        }
        case FieldType::Memo: return FieldValue::text(gbkOf(word, "value"));
        case FieldType::Bytes: return FieldValue::bytes(parseHex(word));
    }
    throw InputError{"unknown field type"};
}

nlohmann::ordered_json jsonOf(const FieldValue& v) {
    using K = FieldValue::Kind;
    switch (v.kind()) {
        case K::Byte:
        case K::Short:
        case K::Int:
        case K::Int64: return v.asInt64();
        case K::CodeRef: return v.asCodeRef();
        case K::Float:
        case K::Double: return v.asDouble();
        case K::DateTime: return v.asDateTime();
        case K::Bool: return v.asBool();
        case K::Text: return fromGbk(v.asText());
        case K::Bytes: return toHex(v.asBytes());
    }
    return nullptr;
}

std::string passwordOf(const Args& a) { return a.password ? gbkOf(*a.password, "password") : std::string(); }

// Opens FILE with the password given (GBK), or fails with the store's error.
bool open(RecordStore& store, const Args& a) {
    return a.password ? store.openTable(a.file, passwordOf(a)) : store.openTable(a.file);
}

int recordArg(RecordStore& store, const std::string& word) {
    const int64_t n = parseInteger(word, 1, INT32_MAX);
    const int count = store.recordCount();
    if (lastError() != 0) return -1;
    if (n > count) throw InputError{"record " + word + " does not exist (the table has " + std::to_string(count) + ")"};
    return static_cast<int>(n);
}

int cmdCreate(const Args& a) {
    if (a.password) throw InputError{"create makes an unprotected table; use set-password afterwards"};
    // Without --force nothing is replaced. With it the store takes the table exclusively before it
    // replaces anything, so a table open anywhere is refused (-12) and left as it was.
    if (!a.force) {
        const std::string table = resolvePathCase(format::withDefaultExtension(a.file));
        for (const std::string& p : {table, resolvePathCase(format::memoPathFor(table))}) {
            struct stat st;
            if (::stat(p.c_str(), &st) == 0) throw InputError{"'" + p + "' exists; --force replaces the table"};
        }
    }
    std::vector<FieldDef> defs;
    for (const std::string& plan : a.rest) {
        const size_t c1 = plan.find(':');
        if (c1 == std::string::npos) throw InputError{"'" + plan + "' is not NAME:TYPE[:LEN]"};
        const size_t c2 = plan.find(':', c1 + 1);
        const std::string typeName = plan.substr(c1 + 1, c2 == std::string::npos ? std::string::npos : c2 - c1 - 1);
        int type = 0;
        for (int k = 0; k < 12; ++k) {
            if (equalsIgnoreCase(typeName, kTypeNames[k])) type = k + 1;
        }
        if (type == 0) throw InputError{"unknown type '" + typeName + "'"};
        int length = 0;
        if (c2 != std::string::npos) length = static_cast<int>(parseInteger(plan.substr(c2 + 1), INT32_MIN, INT32_MAX));
        if (type == static_cast<int>(FieldType::Text) && c2 == std::string::npos) {
            throw InputError{"'" + plan + "': a Text field needs its length"};
        }
        defs.push_back({gbkOf(plan.substr(0, c1), "field name"), type, length});
    }
    if (defs.empty()) throw InputError{"no fields given"};
    RecordStore store;
    return store.createTable(a.file, defs) ? 0 : storeFailure();
}

int cmdAppend(const Args& a) {
    RecordStore store;
    if (!open(store, a)) return storeFailure();
    const auto fields = store.tableFields();
    if (a.rest.size() > fields.size())
        throw InputError{"more values than the table's " + std::to_string(fields.size()) + " fields"};
    std::vector<FieldValue> values;
    for (size_t k = 0; k < a.rest.size(); ++k) values.push_back(valueFor(fields[k], a.rest[k]));
    if (store.appendRecord(values)) return 0;
    if (lastError() == -63 && store.nextSerial() == INT32_MAX) {
        std::fprintf(stderr,
                     "xuanpian-admin table: error -63: %s (the serial counter is at 2147483647, its maximum: no "
                     "further record can be appended; the table stays readable)\n",
                     errorMessage(-63).c_str());
        return 1;
    }
    return storeFailure();
}

// Fails like the store when the check found damage or a pending recovery, listing what it found.
int refuseUnsound(const TableCheckReport& report) {
    std::fprintf(stderr, "xuanpian-admin table: error %d: %s\n", report.code, errorMessage(report.code).c_str());
    if (report.recoveryPending) std::fprintf(stderr, "recovery pending: open the table to finish it\n");
    for (const std::string& p : report.problems) std::fprintf(stderr, "problem: %s\n", p.c_str());
    return 1;
}

int cmdDump(const Args& a) {
    if (!a.rest.empty()) throw InputError{"dump takes no further words"};
    // Read-only: a dump never repairs or recovers anything. Only a table the check finds sound is printed;
    // from a damaged one the values would be guesses.
    RecordStore store;
    OpenOptions options;
    options.readOnly = true;
    options.password = passwordOf(a);
    if (!store.openTable(a.file, options)) {
        const int code = lastError();
        storeFailure();
        if (code == -21 && checkTable(a.file, passwordOf(a)).recoveryPending) {
            std::fprintf(stderr, "recovery pending: open the table to finish it\n");
        }
        return 1;
    }
    const TableCheckReport report = checkTable(a.file, passwordOf(a));
    if (!report.ok()) return refuseUnsound(report);
    const auto fields = store.tableFields();
    const int count = store.recordCount();
    if (lastError() != 0) return storeFailure();
    for (int r = 1; r <= count; ++r) {
        if (!store.goToRecord(r)) return storeFailure();
        const int32_t serial = store.recordSerial();
        if (lastError() != 0) return storeFailure();
        nlohmann::ordered_json line;
        line["record"] = r;
        line["serial"] = serial < 0 ? -static_cast<int64_t>(serial) : serial;
        line["deleted"] = serial < 0;
        nlohmann::ordered_json values = nlohmann::ordered_json::object();
        for (size_t k = 0; k < fields.size(); ++k) {
            const FieldValue v = store.readField(static_cast<int>(k + 1));
            if (lastError() != 0) return storeFailure();
            values[fromGbk(fields[k].name)] = jsonOf(v);
        }
        line["fields"] = std::move(values);
        std::printf("%s\n", line.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace).c_str());
    }
    return 0;
}

int cmdWrite(const Args& a) {
    if (a.rest.size() != 3) throw InputError{"write needs RECORD FIELD VALUE"};
    RecordStore store;
    if (!open(store, a)) return storeFailure();
    const int record = recordArg(store, a.rest[0]);
    if (record < 0) return storeFailure();
    const auto fields = store.tableFields();
    const std::string& f = a.rest[1];
    int index = -1;
    if (!f.empty() && f.find_first_not_of("0123456789") == std::string::npos) {
        index = static_cast<int>(parseInteger(f, 1, static_cast<int64_t>(fields.size()))) - 1;
    } else {
        const std::string name = gbkOf(f, "field name");
        for (size_t k = 0; k < fields.size() && index < 0; ++k) {
            if (equalsIgnoreCase(fields[k].name, name)) index = static_cast<int>(k);
        }
        if (index < 0) throw InputError{"the table has no field '" + f + "'"};
    }
    if (!store.goToRecord(record)) return storeFailure();
    const FieldValue v = valueFor(fields[static_cast<size_t>(index)], a.rest[2]);
    return store.writeField(index + 1, v) ? 0 : storeFailure();
}

int cmdDelete(const Args& a) {
    if (a.rest.size() != 1) throw InputError{"delete needs RECORD"};
    RecordStore store;
    if (!open(store, a)) return storeFailure();
    const int record = recordArg(store, a.rest[0]);
    if (record < 0) return storeFailure();
    return store.goToRecord(record) && store.deleteRecord() ? 0 : storeFailure();
}

int cmdPurge(const Args& a) {
    if (!a.rest.empty()) throw InputError{"purge takes no further words"};
    RecordStore store;
    if (!open(store, a)) return storeFailure();
    return store.purgeDeleted() ? 0 : storeFailure();
}

int cmdSetPassword(const Args& a) {
    if (a.rest.size() != 1) throw InputError{"set-password needs NEW (\"\" removes the password)"};
    RecordStore store;
    if (!open(store, a)) return storeFailure();
    return store.setTablePassword(gbkOf(a.rest[0], "password")) ? 0 : storeFailure();
}

int cmdCheck(const Args& a) {
    if (!a.rest.empty()) throw InputError{"check takes no further words"};
    const TableCheckReport report = checkTable(a.file, passwordOf(a));
    if (report.recoveryPending) {
        std::printf("recovery pending: open the table to finish it\n");
        return 3;
    }
    for (const std::string& p : report.problems) std::printf("problem: %s\n", p.c_str());
    for (const std::string& n : report.notes) std::printf("note: %s\n", n.c_str());
    if (!report.ok()) return 1;
    std::printf("ok: %d records, %d memo blocks\n", report.records, report.memoBlocks);
    return 0;
}

int runTable(const std::vector<std::string>& args) {
    if (args.empty()) {
        std::fprintf(stderr, "usage:\n%s\n", kUsage);
        return 2;
    }
    const std::string& sub = args[0];
    try {
        const Args a = parseArgs(std::vector<std::string>(args.begin() + 1, args.end()));
        if (a.force && sub != "create") throw InputError{"only create takes --force"};
        if (sub == "create") return cmdCreate(a);
        if (sub == "append") return cmdAppend(a);
        if (sub == "dump") return cmdDump(a);
        if (sub == "write") return cmdWrite(a);
        if (sub == "delete") return cmdDelete(a);
        if (sub == "purge") return cmdPurge(a);
        if (sub == "set-password") return cmdSetPassword(a);
        if (sub == "check") return cmdCheck(a);
        std::fprintf(stderr, "xuanpian-admin table: unknown sub-command '%s'\nusage:\n%s\n", sub.c_str(), kUsage);
        return 2;
    } catch (const InputError& e) {
        std::fprintf(stderr, "xuanpian-admin table %s: %s\n", sub.c_str(), e.message.c_str());
        return 2;
    }
}

const AdminCommandRegistrar registrar({"table", kUsage, runTable});

}  // namespace
}  // namespace xp::admin
