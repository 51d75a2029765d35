// Fonts, pens and brushes behind the host's object handles, with the stock objects.
#pragma once

#include <memory>

#include "platform/gdi.h"

namespace host {

struct GdiObject {
    enum class Kind { Font, Pen, Brush };
    Kind Type = Kind::Brush;
    platform::LOGFONTW Font{};
    int PenStyle = platform::PS_SOLID;
    int Width = 1;
    platform::COLORREF Color = 0;
    bool Null = false;   // NULL_PEN, NULL_BRUSH
    bool FromDc = false; // DC_PEN, DC_BRUSH: the colour is the device context's
    bool Stock = false;
};

using GdiObjectPtr = std::shared_ptr<const GdiObject>;

// The object behind a handle (stock or created); null for an unknown handle.
GdiObjectPtr FindGdiObject(platform::HGDIOBJ handle);
platform::HGDIOBJ AddGdiObject(GdiObject object);
bool RemoveGdiObject(platform::HGDIOBJ handle);
platform::HGDIOBJ StockObject(int index);

// The font a new device context starts with.
platform::LOGFONTW DefaultFont();

}  // namespace host
