// Fonts as the host describes them (LOGFONTW) turned into Pango font descriptions, with the
// project's face-name mapping loaded into fontconfig before the first font is made.
#pragma once

#include "platform/gdi.h"

#include <pango/pango.h>

#include <string>
#include <vector>

namespace host {

// Loads the project's fontconfig file once per process.
void EnsureFontConfiguration();

// The em size in device units for the font's height: a negative height is the character height
// itself; a positive one is the cell height, of which the em is a share.
double EmSize(const platform::LOGFONTW& font);

// A description owned by the caller (pango_font_description_free).
PangoFontDescription* DescriptionOf(const platform::LOGFONTW& font);

// Family names fontconfig offers, each once, sorted.
std::vector<std::string> FontFamilies();

// The families a device offers: the face names the project's fontconfig file maps (as the host
// carries those fonts) and the machine's own, each once, sorted.
std::vector<std::string> OfferedFamilies();

}  // namespace host
