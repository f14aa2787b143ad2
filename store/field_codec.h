// Encoding and decoding of field values in a record, and the kind check with numeric conversion that
// writeField and appendRecord apply to a value before it is stored.
#pragma once

#include <cstdint>

#include "store/field_value.h"
#include "store/table_format.h"

namespace xp {

// The value of a non-memo field from its bytes in the record (`field.size` bytes).
FieldValue decodeField(const format::FieldDesc& field, const uint8_t* bytes);

// A value ready for `field`: the value itself when its kind matches, the converted value when both are
// numeric kinds; false when the kinds do not go together.
bool prepareValue(const format::FieldDesc& field, const FieldValue& value, FieldValue& out);

// Writes a prepared non-memo value into the field's `field.size` bytes.
void encodeField(const format::FieldDesc& field, const FieldValue& value, uint8_t* out);

}  // namespace xp
