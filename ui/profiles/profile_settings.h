// What a profile carries of the plug-in's record: the fields a load copies (everything but
// BlockAppPostScript, which only the host sets) and the fields that decide whether the current
// settings still agree with a stored profile.
#pragma once

#include "settings/plugin_devmode.h"

namespace qv::ui {

struct SheetState;

// With a source: the carried fields of the stored image into the working copy. Without one:
// the carried fields of the working copy into the host's record (of the page-parameter block);
// false when there is no host record. Texts end within their capacity.
bool CopyProfileSettings(SheetState& state, const settings::PluginDevmode* source);

// Whether every compared field agrees: watermark names without regard to case, other texts
// exactly.
bool ProfileSettingsEqual(const settings::PluginDevmode& stored,
                          const settings::PluginDevmode& current);

// A stored image a load may take: the record's size, signature and version.
bool HasValidHeader(const settings::PluginDevmode& record);

}  // namespace qv::ui
