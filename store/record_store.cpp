// RecordStore: placeholder bodies while the engine lands; every operation reports "unknown error".
#include "store/record_store.h"

#include <cmath>

#include "store/store_errors.h"

namespace xp {

struct RecordStore::Impl {
    int lockWait = 0;
    PasswordPrompt prompt;
};

int FieldRef::toNumber(double v) { return std::isfinite(v) ? static_cast<int>(std::trunc(v)) : 0; }

FieldRef FieldRef::fromValue(const FieldValue& value) {
    if (value.kind() == FieldValue::Kind::Text) return FieldRef(value.asText());
    if (value.isNumeric()) return FieldRef(value.asDouble());
    return neither();
}

RecordStore::RecordStore(std::shared_ptr<FileSystem>) : impl_(std::make_unique<Impl>()) {}
RecordStore::~RecordStore() = default;

bool RecordStore::createTable(const std::string&, const std::vector<FieldDef>&) { setLastError(-1); return false; }
bool RecordStore::openTable(const std::string&, const OpenOptions&) { setLastError(-1); return false; }
bool RecordStore::openTable(const std::string& f, const std::string& p) { return openTable(f, OpenOptions{.password = p}); }
bool RecordStore::selectTable(const std::string&) { setLastError(-66); return false; }
void RecordStore::closeTable(const std::string&) {}
void RecordStore::closeAllTables() {}
bool RecordStore::setTablePassword(const std::string&) { setLastError(-67); return false; }
int RecordStore::recordCount() { setLastError(-67); return 0; }
void RecordStore::firstRecord() { setLastError(-67); }
bool RecordStore::skipRecords(int) { setLastError(-67); return false; }
bool RecordStore::goToRecord(int) { setLastError(-67); return false; }
int RecordStore::recordNumber() { setLastError(-67); return 0; }
FieldValue RecordStore::readField(const FieldRef&, const std::string&) { raiseFatal(fatal::NoTable); }
bool RecordStore::writeField(const FieldRef&) { setLastError(-66); return false; }
bool RecordStore::writeField(const FieldRef&, const FieldValue&) { setLastError(-66); return false; }
bool RecordStore::writeField(const FieldRef&, const std::string&, const std::optional<FieldValue>&) { setLastError(-66); return false; }
bool RecordStore::appendRecord(const std::vector<FieldValue>&) { setLastError(-67); return false; }
bool RecordStore::deleteRecord() { setLastError(-67); return false; }
bool RecordStore::deleteRecord(const Condition&) { setLastError(-67); return false; }
bool RecordStore::deleteRecord(const ValueCondition&) { setLastError(-67); return false; }
bool RecordStore::purgeDeleted() { setLastError(-67); return false; }
bool RecordStore::findRecord(const Condition&) { setLastError(-67); return false; }
bool RecordStore::findRecord(const ValueCondition&) { setLastError(-67); return false; }
void RecordStore::setLockWaitTime(int ms) { impl_->lockWait = ms; }
int RecordStore::lockWaitTime() const { return impl_->lockWait; }
void RecordStore::setPasswordPrompt(PasswordPrompt p) { impl_->prompt = std::move(p); }
bool RecordStore::hasCurrentTable() const { return false; }
int RecordStore::tableCount() const { return 0; }
std::vector<FieldDef> RecordStore::tableFields() const { return {}; }
std::string RecordStore::tablePath() const { return {}; }
std::string RecordStore::tableName() const { return {}; }
int32_t RecordStore::recordSerial() { setLastError(-67); return 0; }

}  // namespace xp
