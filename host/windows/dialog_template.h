// The binary DIALOGEX template of a module's resources, parsed into plain values. Malformed data
// is refused with a reason; nothing is read past the bytes given.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace host {

struct DialogItemTemplate {
    uint32_t HelpId = 0;
    uint32_t ExStyle = 0;
    uint32_t Style = 0;
    int16_t X = 0, Y = 0, Cx = 0, Cy = 0;  // dialog units
    int32_t Id = 0;
    std::u16string ClassName;  // predefined ordinals become their names ("Button", "Edit", ...)
    std::u16string Text;
    uint16_t TextOrdinal = 0;  // a resource id given as the text (icons); 0 when text
    std::vector<uint8_t> CreationData;
};

struct DialogTemplate {
    uint32_t HelpId = 0;
    uint32_t ExStyle = 0;
    uint32_t Style = 0;
    int16_t X = 0, Y = 0, Cx = 0, Cy = 0;
    std::u16string ClassName;  // empty: the dialog class
    std::u16string Caption;
    uint16_t PointSize = 0;  // 0 when the template names no font
    uint16_t Weight = 0;
    bool Italic = false;
    std::u16string FontFace;
    std::vector<DialogItemTemplate> Items;
};

// nullopt with *error set when the data is not a well-formed DIALOGEX template.
std::optional<DialogTemplate> ParseDialogTemplate(std::span<const uint8_t> data,
                                                  std::string* error);

}  // namespace host
