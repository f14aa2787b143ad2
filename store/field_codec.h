// Encoding and decoding of field values in a record, and the kind check that writeField and appendRecord
// apply to a value before it is stored.
#pragma once

#include <cstdint>

#include "store/field_value.h"
#include "store/table_format.h"

namespace xp {

// The value of a non-memo field from its bytes in the record (`field.size` bytes).
FieldValue decodeField(const format::FieldDesc& field, const uint8_t* bytes);

// True when `value` may be stored in `field`: the same kind, or both numeric kinds.
bool valueFits(const format::FieldDesc& field, const FieldValue& value);

// Writes a fitting non-memo value into the field's `field.size` bytes, converting a numeric value of
// another kind on the way.
void encodeField(const format::FieldDesc& field, const FieldValue& value, uint8_t* out);

}  // namespace xp
