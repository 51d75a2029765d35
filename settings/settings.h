// Sizing, defaults, conversion, merge and validation of PluginDevmode: the body of both plug-ins'
// DevMode operation. Every operation does nothing and returns false when handed a null record.
#pragma once

#include <cstdint>

#include "platform/oem_common.h"
#include "platform/result.h"
#include "settings/plugin_devmode.h"

namespace qv::settings {

// The host's size, default, convert and merge requests. A missing parameter block or an unknown
// mode sets the last error to ERROR_INVALID_PARAMETER and fails.
platform::HRESULT SettingsDevMode(uint32_t mode, platform::OEMDMPARAM* params);

bool ApplyDefaults(PluginDevmode* record);
bool ApplyWatermarkDefaults(WatermarkSpec* watermark);
bool ApplyFaxDefaults(FaxSettings* fax);

// Takes over the input when it carries our signature (at most RecordSize bytes of it, as many as
// its Size says), over defaults for the rest; otherwise the output becomes a default record.
bool ConvertSettings(const PluginDevmode* input, PluginDevmode* output);

bool ValidateSettings(PluginDevmode* record);
bool ValidateWatermark(WatermarkSpec* watermark);
// The fax block's part of ValidateSettings, for a block stored on its own.
bool ValidateFax(FaxSettings* fax);

}  // namespace qv::settings
