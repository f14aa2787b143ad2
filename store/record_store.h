// RecordStore: the embedded table engine. Creates, opens, selects and closes tables, moves each open
// table's cursor, reads and writes fields, appends, deletes, purges and searches records, directly on the
// table and memo files (no cache), with byte-range locks shared between processes.
//
// Every text at this interface (paths, field names, values, aliases, passwords) is taken and returned as
// the caller's bytes: the files hold GBK, callers convert with xp::toGbk / xp::fromGbk. Paths go to the
// operating system as given.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

#include "store/field_value.h"

namespace xp {

class FileSystem;  // store/file_system.h: the file layer, replaceable in tests

// One field of createTable; `type` is a FieldType code (kept as int so that bad codes can be passed and
// rejected), `length` is used for Text fields only.
struct FieldDef {
    std::string name;
    int type;
    int length = 0;
};

// Names a field either by name (case-insensitive) or by number counted from 1.
class FieldRef {
public:
    FieldRef(const char* name) : kind_(Kind::Name), name_(name ? name : "") {}
    FieldRef(std::string name) : kind_(Kind::Name), name_(std::move(name)) {}
    template <class T>
    requires(std::is_arithmetic_v<T> && !std::is_same_v<T, bool>) FieldRef(T number)
        : kind_(Kind::Number), number_(toNumber(static_cast<double>(number))) {}
    // An argument that is neither text nor number (reading with it is a fatal error).
    static FieldRef neither() { return FieldRef(); }
    // A value used as a field argument: a text names a field, a numeric kind numbers it, anything
    // else is neither.
    static FieldRef fromValue(const FieldValue& value);

    bool isName() const { return kind_ == Kind::Name; }
    bool isNumber() const { return kind_ == Kind::Number; }
    const std::string& name() const { return name_; }
    int number() const { return number_; }

private:
    enum class Kind { Neither, Name, Number };
    FieldRef() = default;
    static int toNumber(double v);
    Kind kind_ = Kind::Neither;
    std::string name_;
    int number_ = 0;
};

// Options of openTable. shareMode: 1 others may read and write, 2 others may not read, 3 others may not
// write, 4 exclusive. A password of "?" asks through the password prompt.
struct OpenOptions {
    std::string alias{};
    bool readOnly = false;
    int shareMode = 1;
    std::optional<std::string> password{};
    std::vector<std::string> indexFiles{};
};

// A condition for findRecord / deleteRecord. The value form lets a condition yield something that is not
// a bool, which is the fatal error "用作进行条件判断的子语句参数只能接受逻辑型数据".
using Condition = std::function<bool()>;
using ValueCondition = std::function<FieldValue()>;

// Thrown by the fatal error handler that tests install; the store stays consistent when it propagates.
class FatalStoreError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The four fatal errors go here with their message (UTF-8). The default prints it to stderr and ends
// the process with exit code -1. Returns the previous handler.
using FatalErrorHandler = std::function<void(const std::string& messageUtf8)>;
FatalErrorHandler setFatalErrorHandler(FatalErrorHandler handler);

// The last error code of the calling thread (0 after success) and the message of a code, in UTF-8.
int lastError();
std::string errorMessage(int code);

class RecordStore {
public:
    // `files` replaces the operating-system file layer (tests inject faults through it).
    explicit RecordStore(std::shared_ptr<FileSystem> files = nullptr);
    ~RecordStore();
    RecordStore(const RecordStore&) = delete;
    RecordStore& operator=(const RecordStore&) = delete;

    // Tables.
    bool createTable(const std::string& fileName, const std::vector<FieldDef>& fields);
    bool openTable(const std::string& fileName, const OpenOptions& options = {});
    bool openTable(const std::string& fileName, const std::string& password);
    bool selectTable(const std::string& aliasOrName);
    void closeTable(const std::string& aliasOrName = {});
    void closeAllTables();
    bool setTablePassword(const std::string& password);

    // Cursor.
    int recordCount();
    void firstRecord();
    bool skipRecords(int n = 1);
    bool goToRecord(int n);
    int recordNumber();

    // Fields and records. An empty table name means the current table.
    FieldValue readField(const FieldRef& field, const std::string& table = {});
    bool writeField(const FieldRef& field);
    bool writeField(const FieldRef& field, const FieldValue& value);
    // An omitted value writes the empty value of the field's kind.
    bool writeField(const FieldRef& field, const std::string& table,
                    const std::optional<FieldValue>& value = std::nullopt);
    bool appendRecord(const std::vector<FieldValue>& values);
    bool deleteRecord();
    bool deleteRecord(const Condition& condition);
    bool deleteRecord(const ValueCondition& condition);
    bool purgeDeleted();
    bool findRecord(const Condition& condition);
    bool findRecord(const ValueCondition& condition);

    // Settings. Lock wait in milliseconds: 0 fails at once (the default), -1 waits forever.
    void setLockWaitTime(int ms);
    int lockWaitTime() const;
    // Asked for the password when openTable is given "?"; attempt counts from 1; nullopt cancels.
    using PasswordPrompt = std::function<std::optional<std::string>(int attempt)>;
    void setPasswordPrompt(PasswordPrompt prompt);

    // Inspection, for tools and callers that need the layout of the current table.
    bool hasCurrentTable() const;
    int tableCount() const;
    std::vector<FieldDef> tableFields() const;  // current table, empty when none
    std::string tablePath() const;              // full path of the current table file
    std::string tableName() const;              // file name without folder and extension
    // Serial of the current record (negative when marked deleted); 0 with lastError set on failure.
    int32_t recordSerial();
    // The serial the next appended record would receive; 0 with lastError set on failure. An append is
    // refused (-63) when it is 2147483647, because the serial after it could not be stored.
    int32_t nextSerial();

private:
    template <class Cond>
    bool deleteWhere(const Cond& condition);
    template <class Cond>
    bool findWhere(const Cond& condition);

    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace xp
