#include "host/gdi/gdi_objects.h"

#include <array>
#include <cstring>
#include <mutex>

#include "host/system/handle_table.h"

namespace host {

using namespace platform;

namespace {

HandleTable<GdiObjectPtr>& Objects() {
    static HandleTable<GdiObjectPtr> objects;
    return objects;
}

GdiObject MakeStock(int index) {
    GdiObject object;
    object.Stock = true;
    switch (index) {
        case WHITE_BRUSH: object.Color = RGB(255, 255, 255); break;
        case BLACK_BRUSH: object.Color = RGB(0, 0, 0); break;
        case NULL_BRUSH: object.Null = true; break;
        case DC_BRUSH: object.FromDc = true; break;
        case WHITE_PEN:
            object.Type = GdiObject::Kind::Pen;
            object.Color = RGB(255, 255, 255);
            break;
        case BLACK_PEN: object.Type = GdiObject::Kind::Pen; break;
        case NULL_PEN:
            object.Type = GdiObject::Kind::Pen;
            object.Null = true;
            break;
        case DC_PEN:
            object.Type = GdiObject::Kind::Pen;
            object.FromDc = true;
            break;
        case DEFAULT_GUI_FONT:
            object.Type = GdiObject::Kind::Font;
            object.Font = DefaultFont();
            break;
        default: object.Null = true; break;
    }
    return object;
}

}  // namespace

LOGFONTW DefaultFont() {
    LOGFONTW font{};
    font.lfHeight = -12;
    font.lfWeight = 400;
    font.lfCharSet = DEFAULT_CHARSET;
    std::memcpy(font.lfFaceName, u"宋体", sizeof(u"宋体"));
    return font;
}

GdiObjectPtr FindGdiObject(HGDIOBJ handle) { return Objects().Find(handle).value_or(nullptr); }

HGDIOBJ AddGdiObject(GdiObject object) {
    return Objects().Add<HGDIOBJ>(std::make_shared<const GdiObject>(object));
}

bool RemoveGdiObject(HGDIOBJ handle) {
    const GdiObjectPtr object = FindGdiObject(handle);
    if (!object) {
        return false;
    }
    // Stock objects live as long as the process; deleting one is harmless and does nothing.
    return object->Stock || Objects().Remove(handle).has_value();
}

HGDIOBJ StockObject(int index) {
    constexpr int Count = DC_PEN + 1;
    static std::array<HGDIOBJ, Count> stock = [] {
        std::array<HGDIOBJ, Count> handles{};
        for (int i = 0; i < Count; ++i) {
            handles[i] = AddGdiObject(MakeStock(i));
        }
        return handles;
    }();
    return index >= 0 && index < Count ? stock[index] : nullptr;
}

}  // namespace host
