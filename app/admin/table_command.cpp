// `xuanpian-admin table ...`: create, fill, inspect, change and check record-store tables by hand.
// Values on the command line and in the JSON output are UTF-8; the files hold GBK.
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "app/admin/admin_command.h"
#include "appdata/text_codec.h"
#include "store/record_store.h"
#include "store/table_check.h"
#include "store/text_rules.h"

namespace xp::admin {
namespace {

constexpr const char* kUsage =
    "table create FILE NAME:TYPE[:LEN]...      TYPE: Byte Short Int Int64 Float Double Bool DateTime\n"
    "                                          CodeRef Text Bytes Memo; LEN for Text (1..1024)\n"
    "table append FILE [--password P] VALUE... values in field order; Bytes in hex\n"
    "table dump FILE [--password P]            one JSON object per record\n"
    "table write FILE [--password P] RECORD FIELD VALUE\n"
    "table delete FILE [--password P] RECORD\n"
    "table purge FILE [--password P]\n"
    "table set-password FILE [--password OLD] NEW   (NEW \"\" removes the password)\n"
    "table check FILE [--password P]           verifies header, fields, records and memo chains";

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
    std::vector<std::string> rest;
};

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
        } else {
            plain.push_back(w);
        }
    }
    if (plain.empty()) throw InputError{"FILE is missing"};
    a.file = plain.front();
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

double parseReal(const std::string& s) {
    char* end = nullptr;
    const double v = std::strtod(s.c_str(), &end);
    if (s.empty() || *end != '\0') throw InputError{"'" + s + "' is not a number"};
    return v;
}

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
    if (!ok || mo < 1 || mo > 12 || d < 1 || d > 31 || h < 0 || h > 23 || mi < 0 || mi > 59 || sec < 0 || sec > 59) {
        throw InputError{"'" + s + "' is not a date (YYYY-MM-DD[ HH:MM[:SS]]) or a number of days"};
    }
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

// A command-line word as a value of a field of `type`.
FieldValue valueFor(int type, const std::string& word) {
    switch (static_cast<FieldType>(type)) {
        case FieldType::Byte: return FieldValue::byte(static_cast<uint8_t>(parseInteger(word, 0, 255)));
        case FieldType::Short: return FieldValue::shortInt(static_cast<int16_t>(parseInteger(word, -32768, 32767)));
        case FieldType::Int: return FieldValue::integer(static_cast<int32_t>(parseInteger(word, INT32_MIN, INT32_MAX)));
        case FieldType::Int64: return FieldValue::int64(parseInteger(word, INT64_MIN, INT64_MAX));
        case FieldType::Float: return FieldValue::single(static_cast<float>(parseReal(word)));
        case FieldType::Double: return FieldValue::real(parseReal(word));
        case FieldType::Bool:
            if (word == "true" || word == "1" || word == "真") return FieldValue::boolean(true);
            if (word == "false" || word == "0" || word == "假") return FieldValue::boolean(false);
            throw InputError{"'" + word + "' is not true or false"};
        case FieldType::DateTime: return FieldValue::dateTime(parseDateTime(word));
        case FieldType::CodeRef: return FieldValue::codeRef(static_cast<uint32_t>(parseInteger(word, 0, UINT32_MAX)));
        case FieldType::Text:
        case FieldType::Memo: return FieldValue::text(toGbk(word));
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

// Opens FILE with the password given (GBK), or fails with the store's error.
bool open(RecordStore& store, const Args& a) {
    return a.password ? store.openTable(a.file, toGbk(*a.password)) : store.openTable(a.file);
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
        defs.push_back({toGbk(plan.substr(0, c1)), type, length});
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
    for (size_t k = 0; k < a.rest.size(); ++k) values.push_back(valueFor(fields[k].type, a.rest[k]));
    return store.appendRecord(values) ? 0 : storeFailure();
}

int cmdDump(const Args& a) {
    if (!a.rest.empty()) throw InputError{"dump takes no further words"};
    RecordStore store;
    if (!open(store, a)) return storeFailure();
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
        const std::string name = toGbk(f);
        for (size_t k = 0; k < fields.size() && index < 0; ++k) {
            if (equalsIgnoreCase(fields[k].name, name)) index = static_cast<int>(k);
        }
        if (index < 0) throw InputError{"the table has no field '" + f + "'"};
    }
    if (!store.goToRecord(record)) return storeFailure();
    const FieldValue v = valueFor(fields[static_cast<size_t>(index)].type, a.rest[2]);
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
    return store.setTablePassword(toGbk(a.rest[0])) ? 0 : storeFailure();
}

int cmdCheck(const Args& a) {
    if (!a.rest.empty()) throw InputError{"check takes no further words"};
    const TableCheckReport report = checkTable(a.file, a.password ? toGbk(*a.password) : std::string());
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
