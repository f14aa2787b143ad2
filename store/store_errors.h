// Error codes of the record store, the per-thread last error, the fatal error path and the mapping of
// operating-system errors to store codes.
#pragma once

#include <string>

namespace xp {

// The codes the engine uses by name; every code and its text is in store_errors.cpp.
namespace err {
constexpr int Unknown = -1, CreateFailed = -2, NotFound = -3, BadPath = -4, TooManyFiles = -5, AccessDenied = -6,
              SeekFailed = -10, HardwareFault = -11, ShareConflict = -12, LockFailed = -13, DiskFull = -14,
              NoFieldCount = -16, BadFieldType = -17, BadFieldName = -18, BadFieldSize = -19, DuplicateField = -20,
              OpenFailed = -21, NotATable = -22, VersionTooHigh = -23, BadAlias = -24, BeforeFirst = -25,
              PastLast = -26, TableFileNotOpen = -27, LockRecordFailed = -28, UnlockFailed = -29, TooManyIndexes = -34,
              MemoReadFailed = -35, MemoVersion = -36, MemoDamaged = -37, AlreadyOpen = -38, FieldRead = -46,
              FieldWrite = -47, SizeError = -48, MemoCreateFailed = -50, MemoAccess = -59, NoRecord = -60,
              NoField = -61, RecordRead = -62, RecordWrite = -63, CountRead = -65, TableNotOpen = -66,
              NoCurrentTable = -67, TypeMismatch = -72, BadPassword = -78, PasswordUpdate = -79, BadPasswordText = -80;
}  // namespace err

// Sets the calling thread's last error.
void setLastError(int code);

// The store code for an errno value from open, read, write, truncate or lock.
int errorFromErrno(int errnoValue);

// Fatal error messages, UTF-8.
namespace fatal {
constexpr const char* NoTable = "未指定当前数据库或者指定数据库未打开";
constexpr const char* NoField = "指定字段不存在";
constexpr const char* BadArgument = "所提供参数的数据类型不符合要求";
constexpr const char* NotBool = "用作进行条件判断的子语句参数只能接受逻辑型数据";
}  // namespace fatal

// Calls the installed fatal error handler; if the handler returns, the process ends with -1.
[[noreturn]] void raiseFatal(const char* messageUtf8);

}  // namespace xp
