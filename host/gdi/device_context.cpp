#include "host/gdi/device_context.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <utility>

#include "host/gdi/font_mapping.h"
#include "host/system/handle_table.h"
#include "host/system/utf.h"

namespace host {

using namespace platform;

namespace {

constexpr double Pi = 3.14159265358979323846;

// Odd-width lines on pixel boundaries are drawn through pixel centres, as the host draws them.
double PixelOffset(int width) { return width % 2 == 1 ? 0.5 : 0.0; }

std::u16string WithoutPrefixes(std::u16string_view text) {
    std::u16string result;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'&' && i + 1 < text.size()) {
            ++i;
        }
        result.push_back(text[i]);
    }
    return result;
}

}  // namespace

DeviceContext::DeviceContext(int dpiX, int dpiY, int width, int height)
    : dpiX_(dpiX), dpiY_(dpiY), width_(width), height_(height) {
    state_.FontHandle = StockObject(DEFAULT_GUI_FONT);
    state_.PenHandle = StockObject(BLACK_PEN);
    state_.BrushHandle = StockObject(WHITE_BRUSH);
    state_.Font = FindGdiObject(state_.FontHandle);
    state_.Pen = FindGdiObject(state_.PenHandle);
    state_.Brush = FindGdiObject(state_.BrushHandle);
}

DeviceContext::~DeviceContext() {
    if (path_ != nullptr) {
        cairo_path_destroy(path_);
    }
    if (measure_ != nullptr) {
        cairo_destroy(measure_);
        cairo_surface_destroy(measureSurface_);
    }
}

int32_t DeviceContext::Caps(int index) const {
    switch (index) {
        case HORZRES:
        case PHYSICALWIDTH: return width_;
        case VERTRES:
        case PHYSICALHEIGHT: return height_;
        case LOGPIXELSX: return dpiX_;
        case LOGPIXELSY: return dpiY_;
        default: return 0;
    }
}

HGDIOBJ DeviceContext::Select(HGDIOBJ handle) {
    const GdiObjectPtr object = FindGdiObject(handle);
    if (!object) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    HGDIOBJ* current = nullptr;
    GdiObjectPtr* selected = nullptr;
    switch (object->Type) {
        case GdiObject::Kind::Font:
            current = &state_.FontHandle;
            selected = &state_.Font;
            break;
        case GdiObject::Kind::Pen:
            current = &state_.PenHandle;
            selected = &state_.Pen;
            break;
        case GdiObject::Kind::Brush:
            current = &state_.BrushHandle;
            selected = &state_.Brush;
            break;
    }
    const HGDIOBJ previous = *current;
    *current = handle;
    *selected = object;
    return previous;
}

COLORREF DeviceContext::SetTextColor(COLORREF color) { return std::exchange(state_.TextColor, color); }
COLORREF DeviceContext::SetBkColor(COLORREF color) { return std::exchange(state_.BkColor, color); }
COLORREF DeviceContext::SetDcPenColor(COLORREF color) { return std::exchange(state_.DcPenColor, color); }
COLORREF DeviceContext::SetDcBrushColor(COLORREF color) {
    return std::exchange(state_.DcBrushColor, color);
}
int DeviceContext::SetBkMode(int mode) {
    return mode == TRANSPARENT || mode == OPAQUE ? std::exchange(state_.BkMode, mode) : 0;
}
int DeviceContext::SetGraphicsMode(int mode) {
    return mode == GM_COMPATIBLE || mode == GM_ADVANCED ? std::exchange(state_.GraphicsMode, mode) : 0;
}
uint32_t DeviceContext::SetTextAlign(uint32_t align) { return std::exchange(state_.Align, align); }

cairo_t* DeviceContext::Begin() {
    cairo_t* cr = Target();
    if (cr == nullptr) {
        return nullptr;
    }
    cairo_save(cr);
    for (const RECT& clip : state_.Clips) {
        cairo_rectangle(cr, clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top);
        cairo_clip(cr);
    }
    return cr;
}

void DeviceContext::End(cairo_t* cr) { cairo_restore(cr); }

cairo_t* DeviceContext::Measurer() {
    if (measure_ == nullptr) {
        measureSurface_ = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
        measure_ = cairo_create(measureSurface_);
    }
    return measure_;
}

void DeviceContext::SetColor(cairo_t* cr, COLORREF color) {
    cairo_set_source_rgb(cr, GetRValue(color) / 255.0, GetGValue(color) / 255.0,
                         GetBValue(color) / 255.0);
}

bool DeviceContext::Stroke(cairo_t* cr) {
    const GdiObject& pen = *state_.Pen;
    if (pen.Null || pen.PenStyle == PS_NULL) {
        cairo_new_path(cr);
        return true;
    }
    SetColor(cr, pen.FromDc ? state_.DcPenColor : pen.Color);
    cairo_set_line_width(cr, std::max(1, pen.Width));
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_SQUARE);
    cairo_stroke(cr);
    return true;
}

void DeviceContext::Fill(cairo_t* cr, const GdiObject& brush) {
    if (brush.Null) {
        cairo_new_path(cr);
        return;
    }
    SetColor(cr, brush.FromDc ? state_.DcBrushColor : brush.Color);
    cairo_fill(cr);
}

bool DeviceContext::MoveTo(int32_t x, int32_t y, POINT* previous) {
    if (previous != nullptr) {
        *previous = state_.Position;
    }
    state_.Position = {x, y};
    if (inPath_) {
        if (cairo_t* cr = Target()) {
            cairo_move_to(cr, x, y);
        }
    }
    return true;
}

bool DeviceContext::LineTo(int32_t x, int32_t y) {
    const POINT from = state_.Position;
    state_.Position = {x, y};
    cairo_t* cr = inPath_ ? Target() : Begin();
    if (cr == nullptr) {
        return false;
    }
    if (inPath_) {
        if (!cairo_has_current_point(cr)) {
            cairo_move_to(cr, from.x, from.y);
        }
        cairo_line_to(cr, x, y);
        return true;
    }
    const double offset = PixelOffset(std::max(1, state_.Pen->Width));
    cairo_move_to(cr, from.x + offset, from.y + offset);
    cairo_line_to(cr, x + offset, y + offset);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    const bool stroked = Stroke(cr);
    End(cr);
    return stroked;
}

bool DeviceContext::Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    cairo_t* cr = inPath_ ? Target() : Begin();
    if (cr == nullptr) {
        return false;
    }
    if (inPath_) {
        cairo_rectangle(cr, left, top, right - left, bottom - top);
        return true;
    }
    cairo_rectangle(cr, left, top, right - left, bottom - top);
    Fill(cr, *state_.Brush);
    const int width = std::max(1, state_.Pen->Width);
    const double inset = width / 2.0;
    cairo_rectangle(cr, left + inset, top + inset, right - left - width, bottom - top - width);
    const bool stroked = Stroke(cr);
    End(cr);
    return stroked;
}

bool DeviceContext::Ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    if (right <= left || bottom <= top) {
        return false;
    }
    cairo_t* cr = Begin();
    if (cr == nullptr) {
        return false;
    }
    const int width = std::max(1, state_.Pen->Width);
    const auto outline = [&](double inset) {
        const double w = right - left - 2 * inset;
        const double h = bottom - top - 2 * inset;
        cairo_save(cr);
        cairo_translate(cr, left + inset + w / 2, top + inset + h / 2);
        cairo_scale(cr, std::max(w, 0.5) / 2, std::max(h, 0.5) / 2);
        cairo_arc(cr, 0, 0, 1, 0, 2 * Pi);
        cairo_restore(cr);
    };
    outline(0);
    Fill(cr, *state_.Brush);
    outline(width / 2.0);
    const bool stroked = Stroke(cr);
    End(cr);
    return stroked;
}

bool DeviceContext::FillRect(const RECT& rect, HBRUSH brush) {
    GdiObjectPtr object = FindGdiObject(brush);
    // A system colour index + 1 stands for that colour's brush.
    const auto index = reinterpret_cast<uintptr_t>(brush);
    if (!object && index >= 1 && index <= 31) {
        auto colour = std::make_shared<GdiObject>();
        colour->Color = GetSysColor(static_cast<int>(index - 1));
        object = colour;
    }
    if (!object || object->Type != GdiObject::Kind::Brush) {
        return false;
    }
    cairo_t* cr = Begin();
    if (cr == nullptr) {
        return false;
    }
    cairo_rectangle(cr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    Fill(cr, *object);
    End(cr);
    return true;
}

PangoLayout* DeviceContext::Layout(cairo_t* cr, std::u16string_view text, const LOGFONTW& font) {
    PangoLayout* layout = pango_cairo_create_layout(cr);
    PangoContext* context = pango_layout_get_context(layout);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_metrics(options, LinearMetrics() ? CAIRO_HINT_METRICS_OFF
                                                                 : CAIRO_HINT_METRICS_ON);
    pango_cairo_context_set_font_options(context, options);
    cairo_font_options_destroy(options);
    pango_cairo_context_set_resolution(context, 72.0);
    pango_layout_context_changed(layout);
    PangoFontDescription* description = DescriptionOf(font);
    pango_layout_set_font_description(layout, description);
    pango_font_description_free(description);
    PangoAttrList* attributes = pango_attr_list_new();
    if (font.lfUnderline) {
        pango_attr_list_insert(attributes, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
    }
    if (font.lfStrikeOut) {
        pango_attr_list_insert(attributes, pango_attr_strikethrough_new(TRUE));
    }
    pango_layout_set_attributes(layout, attributes);
    pango_attr_list_unref(attributes);
    const std::string utf8 = ToUtf8(text);
    pango_layout_set_text(layout, utf8.c_str(), static_cast<int>(utf8.size()));
    return layout;
}

// Draws (or, in a path, outlines) one line of text with its reference point at (x, y), turned
// counter-clockwise by the font's escapement about that point.
void DeviceContext::LayoutText(cairo_t* cr, int32_t x, int32_t y, std::u16string_view text) {
    const LOGFONTW& font = state_.Font->Font;
    PangoLayout* layout = Layout(cr, text, font);
    int width = 0;
    int height = 0;
    pango_layout_get_size(layout, &width, &height);
    const double w = width / static_cast<double>(PANGO_SCALE);
    const double h = height / static_cast<double>(PANGO_SCALE);
    const double baseline = pango_layout_get_baseline(layout) / static_cast<double>(PANGO_SCALE);
    double dx = 0;
    if ((state_.Align & TA_CENTER) == TA_CENTER) {
        dx = -w / 2;
    } else if ((state_.Align & TA_RIGHT) != 0) {
        dx = -w;
    }
    double dy = 0;
    if ((state_.Align & TA_BASELINE) == TA_BASELINE) {
        dy = -baseline;
    } else if ((state_.Align & TA_BOTTOM) != 0) {
        dy = -h;
    }
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_rotate(cr, -font.lfEscapement / 10.0 * Pi / 180.0);
    if (inPath_) {
        cairo_move_to(cr, dx, dy);
        pango_cairo_layout_path(cr, layout);
    } else {
        if (state_.BkMode == OPAQUE) {
            cairo_rectangle(cr, dx, dy, w, h);
            SetColor(cr, state_.BkColor);
            cairo_fill(cr);
        }
        SetColor(cr, state_.TextColor);
        cairo_move_to(cr, dx, dy);
        pango_cairo_show_layout(cr, layout);
    }
    cairo_restore(cr);
    g_object_unref(layout);
    if ((state_.Align & TA_UPDATECP) != 0) {
        const double angle = font.lfEscapement / 10.0 * Pi / 180.0;
        state_.Position.x = x + static_cast<int32_t>(std::lround(w * std::cos(angle)));
        state_.Position.y = y - static_cast<int32_t>(std::lround(w * std::sin(angle)));
    }
}

bool DeviceContext::TextOut(int32_t x, int32_t y, std::u16string_view text) {
    if ((state_.Align & TA_UPDATECP) != 0) {
        x = state_.Position.x;
        y = state_.Position.y;
    }
    cairo_t* cr = inPath_ ? Target() : Begin();
    if (cr == nullptr) {
        return false;
    }
    LayoutText(cr, x, y, text);
    if (!inPath_) {
        End(cr);
    }
    return true;
}

bool DeviceContext::TextExtent(std::u16string_view text, SIZE& size) {
    PangoLayout* layout = Layout(Measurer(), text, state_.Font->Font);
    int width = 0;
    int height = 0;
    pango_layout_get_size(layout, &width, &height);
    g_object_unref(layout);
    size.cx = static_cast<int32_t>(std::lround(width / static_cast<double>(PANGO_SCALE)));
    size.cy = static_cast<int32_t>(std::lround(height / static_cast<double>(PANGO_SCALE)));
    return true;
}

bool DeviceContext::TextMetrics(TEXTMETRICW& metrics) {
    metrics = {};
    PangoLayout* layout = Layout(Measurer(), u"x", state_.Font->Font);
    PangoContext* context = pango_layout_get_context(layout);
    const PangoFontDescription* description = pango_layout_get_font_description(layout);
    PangoFontMetrics* fontMetrics = pango_context_get_metrics(context, description, nullptr);
    const auto units = [](int value) {
        return static_cast<int32_t>(std::lround(value / static_cast<double>(PANGO_SCALE)));
    };
    metrics.tmAscent = units(pango_font_metrics_get_ascent(fontMetrics));
    metrics.tmDescent = units(pango_font_metrics_get_descent(fontMetrics));
    metrics.tmHeight = metrics.tmAscent + metrics.tmDescent;
    metrics.tmAveCharWidth = units(pango_font_metrics_get_approximate_char_width(fontMetrics));
    metrics.tmInternalLeading =
        std::max(0, metrics.tmHeight - static_cast<int32_t>(std::lround(EmSize(state_.Font->Font))));
    pango_font_metrics_unref(fontMetrics);
    metrics.tmMaxCharWidth = metrics.tmAveCharWidth;
    if (PangoFont* font = pango_context_load_font(context, description)) {
        if (cairo_scaled_font_t* scaled = pango_cairo_font_get_scaled_font(PANGO_CAIRO_FONT(font))) {
            cairo_font_extents_t extents;
            cairo_scaled_font_extents(scaled, &extents);
            metrics.tmMaxCharWidth = std::max(metrics.tmAveCharWidth,
                                              static_cast<int32_t>(std::lround(extents.max_x_advance)));
        }
        g_object_unref(font);
    }
    const LOGFONTW& logical = state_.Font->Font;
    metrics.tmWeight = logical.lfWeight == 0 ? 400 : logical.lfWeight;
    metrics.tmItalic = logical.lfItalic;
    metrics.tmUnderlined = logical.lfUnderline;
    metrics.tmStruckOut = logical.lfStrikeOut;
    metrics.tmCharSet = logical.lfCharSet;
    metrics.tmLastChar = 0xFFFF;
    metrics.tmDefaultChar = u'?';
    metrics.tmBreakChar = u' ';
    g_object_unref(layout);
    return true;
}

int DeviceContext::DrawText(std::u16string_view text, RECT& rect, uint32_t format) {
    const std::u16string shown = (format & DT_NOPREFIX) != 0 ? std::u16string(text) : WithoutPrefixes(text);
    const bool measureOnly = (format & DT_CALCRECT) != 0;
    cairo_t* cr = measureOnly ? Measurer() : Begin();
    if (cr == nullptr) {
        return 0;
    }
    PangoLayout* layout = Layout(cr, shown, state_.Font->Font);
    const int boxWidth = std::max(0, rect.right - rect.left);
    if ((format & DT_SINGLELINE) == 0 && (format & DT_WORDBREAK) != 0) {
        pango_layout_set_width(layout, boxWidth * PANGO_SCALE);
        pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
    } else if ((format & DT_SINGLELINE) != 0) {
        pango_layout_set_single_paragraph_mode(layout, TRUE);
    }
    pango_layout_set_alignment(layout, (format & DT_CENTER) != 0  ? PANGO_ALIGN_CENTER
                                       : (format & DT_RIGHT) != 0 ? PANGO_ALIGN_RIGHT
                                                                  : PANGO_ALIGN_LEFT);
    int width = 0;
    int height = 0;
    pango_layout_get_pixel_size(layout, &width, &height);
    if (measureOnly) {
        rect.right = rect.left + ((format & DT_WORDBREAK) != 0 ? std::min(width, boxWidth) : width);
        rect.bottom = rect.top + height;
        g_object_unref(layout);
        return height;
    }
    double y = rect.top;
    if ((format & DT_SINGLELINE) != 0 && (format & DT_VCENTER) != 0) {
        y = rect.top + (rect.bottom - rect.top - height) / 2.0;
    } else if ((format & DT_SINGLELINE) != 0 && (format & DT_BOTTOM) != 0) {
        y = rect.bottom - height;
    }
    double x = rect.left;
    if (pango_layout_get_width(layout) < 0) {
        if ((format & DT_CENTER) != 0) {
            x = rect.left + (boxWidth - width) / 2.0;
        } else if ((format & DT_RIGHT) != 0) {
            x = rect.right - width;
        }
    }
    if ((format & DT_NOCLIP) == 0) {
        cairo_rectangle(cr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
        cairo_clip(cr);
    }
    if (state_.BkMode == OPAQUE) {
        cairo_rectangle(cr, x, y, width, height);
        SetColor(cr, state_.BkColor);
        cairo_fill(cr);
    }
    SetColor(cr, state_.TextColor);
    cairo_move_to(cr, x, y);
    pango_cairo_show_layout(cr, layout);
    g_object_unref(layout);
    End(cr);
    return height;
}

bool DeviceContext::BeginPath() {
    cairo_t* cr = Target();
    if (cr == nullptr) {
        return false;
    }
    cairo_new_path(cr);
    inPath_ = true;
    return true;
}

bool DeviceContext::EndPath() {
    cairo_t* cr = Target();
    if (!inPath_ || cr == nullptr) {
        return false;
    }
    inPath_ = false;
    if (path_ != nullptr) {
        cairo_path_destroy(path_);
    }
    path_ = cairo_copy_path(cr);
    cairo_new_path(cr);
    return true;
}

bool DeviceContext::StrokePath() {
    if (inPath_ || path_ == nullptr) {
        return false;
    }
    cairo_t* cr = Begin();
    if (cr == nullptr) {
        return false;
    }
    cairo_new_path(cr);
    cairo_append_path(cr, path_);
    cairo_path_destroy(path_);
    path_ = nullptr;
    const bool stroked = Stroke(cr);
    End(cr);
    return stroked;
}

int DeviceContext::IntersectClip(const RECT& rect) {
    state_.Clips.push_back(rect);
    return SIMPLEREGION;
}

int DeviceContext::Save() {
    saved_.push_back(state_);
    return static_cast<int>(saved_.size());
}

bool DeviceContext::Restore(int saved) {
    const int depth = static_cast<int>(saved_.size());
    const int level = saved < 0 ? depth + saved + 1 : saved;
    if (level < 1 || level > depth) {
        return false;
    }
    state_ = saved_[level - 1];
    saved_.resize(level - 1);
    return true;
}

int DeviceContext::StartDoc(const DOCINFOW*) { return -1; }
int DeviceContext::EndDoc() { return -1; }
int DeviceContext::StartPage() { return -1; }
int DeviceContext::EndPage() { return -1; }
int DeviceContext::Escape(int, int, const char*, int, char*) { return 0; }

ImageDC::ImageDC(int width, int height, int dpi)
    : DeviceContext(dpi, dpi, width, height),
      surface_(cairo_image_surface_create(CAIRO_FORMAT_RGB24, std::max(1, width), std::max(1, height))),
      cr_(cairo_create(surface_)) {
    cairo_set_source_rgb(cr_, 1, 1, 1);
    cairo_paint(cr_);
}

ImageDC::~ImageDC() {
    cairo_destroy(cr_);
    cairo_surface_destroy(surface_);
}

bool ImageDC::WritePng(const std::string& path) const {
    cairo_surface_flush(surface_);
    return cairo_surface_write_to_png(surface_, path.c_str()) == CAIRO_STATUS_SUCCESS;
}

COLORREF ImageDC::PixelAt(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) {
        return RGB(255, 255, 255);
    }
    cairo_surface_flush(surface_);
    const unsigned char* data = cairo_image_surface_get_data(surface_);
    const int stride = cairo_image_surface_get_stride(surface_);
    uint32_t pixel = 0;
    std::memcpy(&pixel, data + y * stride + x * 4, 4);
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

ViewDC::ViewDC(cairo_surface_t* image, POINT origin, RECT clip, int dpi)
    : DeviceContext(dpi, dpi, std::max(0, clip.right - clip.left), std::max(0, clip.bottom - clip.top)),
      surface_(cairo_surface_reference(image)),
      cr_(cairo_create(surface_)) {
    cairo_rectangle(cr_, clip.left, clip.top, width_, height_);
    cairo_clip(cr_);
    cairo_translate(cr_, origin.x, origin.y);
}

ViewDC::~ViewDC() {
    cairo_destroy(cr_);
    cairo_surface_destroy(surface_);
}

namespace {
HandleTable<std::shared_ptr<DeviceContext>>& Contexts() {
    static HandleTable<std::shared_ptr<DeviceContext>> contexts;
    return contexts;
}
}  // namespace

HDC AddDeviceContext(std::shared_ptr<DeviceContext> context) {
    return Contexts().Add<HDC>(std::move(context));
}

std::shared_ptr<DeviceContext> FindDeviceContext(HDC dc) { return Contexts().Find(dc).value_or(nullptr); }

bool RemoveDeviceContext(HDC dc) { return Contexts().Remove(dc).has_value(); }

}  // namespace host
