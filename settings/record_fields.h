// A table of every PluginDevmode field by name (embedded records by dotted path, such as
// "Fax.FaxNumber"), for tools that show or set fields of a record as text. Padding is not listed.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>

namespace qv::settings {

enum class FieldKind { U8, U16, U32, I32, Double, Text };

struct RecordField {
    std::string_view Name;
    size_t Offset;
    FieldKind Kind;
    size_t Units;  // capacity in code units of a text field, else 1
};

// In record order.
std::span<const RecordField> PluginDevmodeFields();

// Exact name match; null when the record has no such field.
const RecordField* FindPluginDevmodeField(std::string_view name);

}  // namespace qv::settings
