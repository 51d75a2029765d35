#include "host/gdi/font_mapping.h"

#include "host/system/utf.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <mutex>
#include <set>

namespace host {

namespace {

constexpr double DefaultEm = 12.0;
constexpr double EmPerCell = 0.86;

// The host's own faces that fonts.conf maps onto the machine's; keep the two in step.
constexpr const char* MappedFaces[] = {"宋体", "SimSun", "Arial"};

}  // namespace

void EnsureFontConfiguration() {
    static std::once_flag once;
    std::call_once(once, [] {
        FcConfig* config = FcInitLoadConfigAndFonts();
        const char* file = std::getenv("QV_FONTS_CONF");
        FcConfigParseAndLoad(config, reinterpret_cast<const FcChar8*>(file ? file : QV_FONTS_CONF),
                             FcFalse);
        FcConfigSetCurrent(config);
        FcConfigDestroy(config);  // the current configuration keeps its own reference
    });
}

double EmSize(const platform::LOGFONTW& font) {
    if (font.lfHeight < 0) {
        return -static_cast<double>(font.lfHeight);
    }
    if (font.lfHeight > 0) {
        return std::max(1.0, font.lfHeight * EmPerCell);
    }
    return DefaultEm;
}

PangoFontDescription* DescriptionOf(const platform::LOGFONTW& font) {
    EnsureFontConfiguration();
    PangoFontDescription* description = pango_font_description_new();
    const size_t length = std::find(font.lfFaceName, font.lfFaceName + platform::LF_FACESIZE, u'\0') -
                          font.lfFaceName;
    std::string face = ToUtf8(std::u16string_view(font.lfFaceName, length));
    pango_font_description_set_family(description, face.empty() ? "Arial" : face.c_str());
    pango_font_description_set_absolute_size(description, EmSize(font) * PANGO_SCALE);
    pango_font_description_set_weight(
        description, static_cast<PangoWeight>(font.lfWeight == 0 ? 400 : std::clamp(font.lfWeight, 100, 1000)));
    pango_font_description_set_style(description, font.lfItalic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    return description;
}

std::vector<std::string> FontFamilies() {
    EnsureFontConfiguration();
    FcPattern* pattern = FcPatternCreate();
    FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, nullptr);
    FcFontSet* fonts = FcFontList(nullptr, pattern, objects);
    std::set<std::string> families;
    for (int i = 0; fonts != nullptr && i < fonts->nfont; ++i) {
        FcChar8* family = nullptr;
        if (FcPatternGetString(fonts->fonts[i], FC_FAMILY, 0, &family) == FcResultMatch) {
            families.insert(reinterpret_cast<const char*>(family));
        }
    }
    if (fonts != nullptr) {
        FcFontSetDestroy(fonts);
    }
    FcObjectSetDestroy(objects);
    FcPatternDestroy(pattern);
    return {families.begin(), families.end()};
}

std::vector<std::string> OfferedFamilies() {
    std::vector<std::string> families = FontFamilies();
    families.insert(families.end(), std::begin(MappedFaces), std::end(MappedFaces));
    std::sort(families.begin(), families.end());
    families.erase(std::unique(families.begin(), families.end()), families.end());
    return families;
}

}  // namespace host
