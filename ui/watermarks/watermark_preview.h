// The live preview of a watermark: control 1171 of the editor and of the placement dialog, a
// white frame standing for the printed page. Its dialog installs the preview procedure with a
// block that holds a copy of the edited record and the printer; at every repaint the dialog
// supplies the record to draw.
#pragma once

#include <functional>

#include "platform/gdi.h"
#include "platform/handles.h"
#include "settings/plugin_devmode.h"

namespace qv::ui {

// Fills the record to draw, which starts as the block's copy; false: nothing is drawn.
using PreviewRecordSource = std::function<bool(settings::WatermarkSpec& record)>;

// Replaces the control's window procedure and gives it its block; released, and the procedure
// restored, when the control is destroyed. false when there is no such control.
bool InstallWatermarkPreview(platform::HWND control, const settings::WatermarkSpec& record,
                             platform::HANDLE printer, PreviewRecordSource source);

// Paints the whole control: the page, and the record's text (a dynamic one expanded as the
// preview shows it) scaled to the frame. false when a dynamic text cannot be expanded, and then
// nothing is painted.
bool DrawWatermarkPreview(platform::HDC dc, platform::HWND control,
                          const settings::WatermarkSpec& record, platform::HANDLE printer);

// Has the dialog's preview control repaint itself.
void InvalidatePreview(platform::HWND dialog);

}  // namespace qv::ui
