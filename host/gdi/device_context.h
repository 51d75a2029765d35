// A device context drawn on Cairo with text by Pango: the state the host keeps per context
// (selected objects, colours, modes, alignment, current position, clipping, path) and every
// drawing operation. Subclasses say where the drawing goes: a pixel image or a printer's pages.
#pragma once

// The host's declarations come before GLib's, whose TRUE and FALSE are macros.
#include "host/gdi/gdi_objects.h"
#include "platform/gdi.h"

#include <cairo.h>
#include <pango/pango.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace host {

class DeviceContext {
public:
    DeviceContext(int dpiX, int dpiY, int width, int height);
    virtual ~DeviceContext();
    DeviceContext(const DeviceContext&) = delete;
    DeviceContext& operator=(const DeviceContext&) = delete;

    virtual int32_t Caps(int index) const;

    platform::HGDIOBJ Select(platform::HGDIOBJ handle);
    platform::COLORREF SetTextColor(platform::COLORREF color);
    platform::COLORREF SetBkColor(platform::COLORREF color);
    platform::COLORREF SetDcPenColor(platform::COLORREF color);
    platform::COLORREF SetDcBrushColor(platform::COLORREF color);
    int SetBkMode(int mode);
    int SetGraphicsMode(int mode);
    uint32_t SetTextAlign(uint32_t align);

    bool MoveTo(int32_t x, int32_t y, platform::POINT* previous);
    bool LineTo(int32_t x, int32_t y);
    bool Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom);
    // The ellipse inside the rectangle, filled with the brush and outlined with the pen.
    bool Ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom);
    bool FillRect(const platform::RECT& rect, platform::HBRUSH brush);
    bool TextOut(int32_t x, int32_t y, std::u16string_view text);
    bool TextExtent(std::u16string_view text, platform::SIZE& size);
    bool TextMetrics(platform::TEXTMETRICW& metrics);
    int DrawText(std::u16string_view text, platform::RECT& rect, uint32_t format);

    bool BeginPath();
    bool EndPath();
    bool StrokePath();
    int IntersectClip(const platform::RECT& rect);
    int Save();
    bool Restore(int saved);

    // Printing; a context that is not a printer's refuses these.
    virtual int StartDoc(const platform::DOCINFOW* info);
    virtual int EndDoc();
    virtual int StartPage();
    virtual int EndPage();
    virtual int Escape(int code, int inputSize, const char* input, int outputSize, char* output);

protected:
    // Where drawing goes now, with the device-to-surface transform applied; null when nothing
    // can be drawn (a printer outside a page).
    virtual cairo_t* Target() = 0;
    // Text is measured with linear metrics on printers and hinted metrics on screens.
    virtual bool LinearMetrics() const { return false; }

    int dpiX_;
    int dpiY_;
    int width_;
    int height_;

private:
    struct State {
        platform::HGDIOBJ FontHandle;
        platform::HGDIOBJ PenHandle;
        platform::HGDIOBJ BrushHandle;
        GdiObjectPtr Font;
        GdiObjectPtr Pen;
        GdiObjectPtr Brush;
        platform::COLORREF TextColor = 0;
        platform::COLORREF BkColor = 0xFFFFFF;
        platform::COLORREF DcPenColor = 0;
        platform::COLORREF DcBrushColor = 0xFFFFFF;
        int BkMode = platform::OPAQUE;
        int GraphicsMode = platform::GM_COMPATIBLE;
        uint32_t Align = 0;
        platform::POINT Position{0, 0};
        std::vector<platform::RECT> Clips;
    };

    // A drawing step: the target saved, clipped, and restored again by End.
    cairo_t* Begin();
    void End(cairo_t* cr);
    cairo_t* Measurer();
    PangoLayout* Layout(cairo_t* cr, std::u16string_view text, const platform::LOGFONTW& font);
    void SetColor(cairo_t* cr, platform::COLORREF color);
    bool Stroke(cairo_t* cr);
    void Fill(cairo_t* cr, const GdiObject& brush);
    void LayoutText(cairo_t* cr, int32_t x, int32_t y, std::u16string_view text);

    State state_;
    std::vector<State> saved_;
    bool inPath_ = false;
    cairo_path_t* path_ = nullptr;
    cairo_surface_t* measureSurface_ = nullptr;
    cairo_t* measure_ = nullptr;
};

// A device context on a white pixel image at the given resolution (windows, previews, tests).
class ImageDC final : public DeviceContext {
public:
    ImageDC(int width, int height, int dpi = 96);
    ~ImageDC() override;

    bool WritePng(const std::string& path) const;
    platform::COLORREF PixelAt(int x, int y) const;  // white outside the image
    cairo_surface_t* Surface() const { return surface_; }

protected:
    cairo_t* Target() override { return cr_; }

private:
    cairo_surface_t* surface_;
    cairo_t* cr_;
};

// A device context onto part of a shared image: its origin at `origin` of the image and all its
// drawing clipped to `clip` (image pixels). The windows of a tree paint through these into one
// picture, each in its own coordinates.
class ViewDC final : public DeviceContext {
public:
    ViewDC(cairo_surface_t* image, platform::POINT origin, platform::RECT clip, int dpi = 96);
    ~ViewDC() override;

protected:
    cairo_t* Target() override { return cr_; }

private:
    cairo_surface_t* surface_;
    cairo_t* cr_;
};

// Device contexts behind the host's HDC handles.
platform::HDC AddDeviceContext(std::shared_ptr<DeviceContext> context);
std::shared_ptr<DeviceContext> FindDeviceContext(platform::HDC dc);
bool RemoveDeviceContext(platform::HDC dc);

}  // namespace host
