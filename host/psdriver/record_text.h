// Plug-in settings records as text: a field set from "FIELD=VALUE" (the record's field names,
// embedded records by dotted path), and the whole record as JSON.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/devmode.h"

namespace host {

// Numbers in decimal or 0x hex, within the field's range; text as UTF-8 that fits the field with
// its terminator. false with a one-line reason, the record untouched.
bool SetRecordField(void* record, std::string_view assignment, std::string& error);

// Each assignment in turn; false with the reason of the first that fails.
bool SetRecordFields(void* record, const std::vector<std::string>& assignments, std::string& error);

// Every field by name, embedded records as nested objects, text as JSON strings.
std::string RecordJson(const void* record, int indent = 2);

// The public device mode's fields by their names, in their order, as one JSON object.
std::string PublicDevModeJson(const platform::DEVMODEW& publicMode, int indent = 2);

// A JSON object's text indented one level more after its first line, to nest it in another.
std::string NestedJson(const std::string& json);

// Text as a JSON string, quotes included.
std::string JsonString(std::string_view text);

}  // namespace host
