// Reading and writing table fields by their UTF-8 names as UTF-8 texts: the one place where the
// program's texts meet the GBK bytes the record store keeps. Every window goes through these.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "store/record_store.h"

namespace xp {

// The field of the current record (of `table`, or the current table) as UTF-8 text. Text and Memo
// fields decode from GBK (bytes that form no character become U+FFFD); other kinds give their number as
// text. Reading with no table or an unknown field is the store's fatal error, as with readField.
std::string readText(RecordStore& store, std::string_view field, const std::string& table = {});

// Writes `text` (UTF-8) into a text field as GBK. False with the store's lastError on failure.
bool writeText(RecordStore& store, std::string_view field, std::string_view text, const std::string& table = {});

// The field as a 32-bit integer: numeric kinds converted, texts by their leading decimal integer.
std::int32_t readInt(RecordStore& store, std::string_view field, const std::string& table = {});

// A text value for appendRecord.
FieldValue textValue(std::string_view text);
// Appends a row whose fields are all texts, in field order.
bool appendTextRow(RecordStore& store, const std::vector<std::string>& texts);

// From the first record of the current table, the first record whose text field equals `value` exactly
// (its GBK bytes); the cursor then stands on it, and on the first record when none does.
bool findFirstEqual(RecordStore& store, std::string_view field, std::string_view value);

// Appends a row to the current table with the given field texts (UTF-8 field name → text); every other
// field gets its empty value. The fields may stand in any order in the table.
bool appendNamedRow(RecordStore& store, const std::map<std::string, std::string>& texts);

// Opens one of the application's tables (a path without extension, e.g. AppPaths::userTable) with the
// table password.
bool openAppTable(RecordStore& store, const std::string& path);

}  // namespace xp
