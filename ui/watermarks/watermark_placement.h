// The placement dialog (dialog 221): where on the page a watermark is anchored (nine positions)
// and how far it is shifted from there, in inches or millimetres, with a live preview.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/handles.h"
#include "settings/plugin_devmode.h"

namespace qv::ui {

struct WatermarkPlacement {
    double Vertical = 0;    // positive moves up
    double Horizontal = 0;  // positive moves right
    bool Inches = true;
    uint32_t Position = 0;  // the anchor, as WatermarkSpec's Position
};

// Runs the dialog for `watermark`, whose placement fields it starts from and whose preview it
// shows; true on OK with `placement` filled, false on Cancel or when it cannot be shown.
bool RunWatermarkPlacement(platform::HWND owner, const settings::WatermarkSpec& watermark,
                           platform::HANDLE printer, WatermarkPlacement& placement);

// An offset as typed: decimal digits with at most one "." and at most one "-", the "-" first
// ("-", "." and "-." mean 0); nullopt for anything else, the empty text included.
std::optional<double> ParseOffset(std::u16string_view text);

// Whether the offset, in inches or millimetres, lies within ±9999.9 inches.
bool OffsetInRange(double offset, bool inches);

// An offset shown with one decimal.
std::u16string FormatOffset(double offset);

// An offset converted to the other unit as the dialog shows it: converted, rounded to one
// decimal, and moved 0.1 back towards zero when that leaves the range.
double ConvertOffset(double offset, bool toInches);

}  // namespace qv::ui
