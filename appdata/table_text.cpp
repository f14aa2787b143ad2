// UTF-8 field access over the byte-exact store.
#include "appdata/table_text.h"

#include "appdata/app_paths.h"
#include "appdata/text_codec.h"
#include "appdata/text_helpers.h"

namespace xp {

std::string readText(RecordStore& store, std::string_view field, const std::string& table) {
    FieldValue value = store.readField(FieldRef(toGbk(field)), table);
    if (value.kind() == FieldValue::Kind::Text) return fromGbk(value.asText());
    return valueText(value);
}

bool writeText(RecordStore& store, std::string_view field, std::string_view text, const std::string& table) {
    return store.writeField(FieldRef(toGbk(field)), table, FieldValue::text(toGbk(text)));
}

std::int32_t readInt(RecordStore& store, std::string_view field, const std::string& table) {
    FieldValue value = store.readField(FieldRef(toGbk(field)), table);
    if (value.isNumeric() || value.kind() == FieldValue::Kind::CodeRef || value.kind() == FieldValue::Kind::Bool)
        return value.asInt();
    return textToInt(fromGbk(value.asText()));
}

FieldValue textValue(std::string_view text) { return FieldValue::text(toGbk(text)); }

bool appendTextRow(RecordStore& store, const std::vector<std::string>& texts) {
    std::vector<FieldValue> values;
    values.reserve(texts.size());
    for (const std::string& t : texts) values.push_back(textValue(t));
    return store.appendRecord(values);
}

bool openAppTable(RecordStore& store, const std::string& path) { return store.openTable(path, kTablePassword); }

bool findFirstEqual(RecordStore& store, std::string_view field, std::string_view value) {
    const FieldRef ref(toGbk(field));
    const std::string wanted = toGbk(value);
    store.firstRecord();
    return store.findRecord([&] { return store.readField(ref).asText() == wanted; });
}

bool appendNamedRow(RecordStore& store, const std::map<std::string, std::string>& texts) {
    std::vector<FieldValue> values;
    for (const FieldDef& f : store.tableFields()) {
        auto it = texts.find(fromGbk(f.name));
        if (it != texts.end())
            values.push_back(textValue(it->second));
        else
            values.push_back(isValidFieldType(f.type) ? FieldValue::empty(static_cast<FieldType>(f.type))
                                                      : FieldValue());
    }
    return store.appendRecord(values);
}

}  // namespace xp
