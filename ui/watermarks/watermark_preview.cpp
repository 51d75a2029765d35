#include "ui/watermarks/watermark_preview.h"

#include <algorithm>
#include <memory>
#include <string>

#include "platform/system.h"
#include "platform/windows.h"
#include "ui/resources/resource_ids.h"
#include "ui/watermarks/dynamic_text.h"
#include "watermark/watermark_drawing.h"

namespace qv::ui {

using namespace platform;

namespace {

struct PreviewBlock {
    WNDPROC Previous = nullptr;
    settings::WatermarkSpec Record{};
    HANDLE Printer = nullptr;
    PreviewRecordSource Source;
};

PreviewBlock* BlockOf(HWND control) {
    return reinterpret_cast<PreviewBlock*>(GetWindowLongPtrW(control, GWLP_USERDATA));
}

// The text of a fixed array up to its terminator, never past its end.
template <size_t N>
std::u16string TextOf(const char16_t (&text)[N]) {
    return std::u16string(text, std::find(text, text + N, u'\0'));
}

void Paint(HWND control, PreviewBlock* block) {
    // Painting always begins and ends, so the control is validated even when nothing is drawn.
    PAINTSTRUCT paint{};
    const HDC dc = BeginPaint(control, &paint);
    if (dc != nullptr && block != nullptr && block->Source) {
        settings::WatermarkSpec record = block->Record;
        if (block->Source(record)) {
            DrawWatermarkPreview(dc, control, record, block->Printer);
        }
    }
    EndPaint(control, &paint);
}

LRESULT PreviewProcedure(HWND control, uint32_t message, WPARAM wparam, LPARAM lparam) {
    PreviewBlock* block = BlockOf(control);
    if (block == nullptr) {
        return DefWindowProcW(control, message, wparam, lparam);
    }
    switch (message) {
        case WM_PAINT:
            Paint(control, block);
            return 0;
        case WM_DESTROY: {
            // The block goes before the message passes on, and the control's own procedure
            // takes every later message.
            const WNDPROC previous = block->Previous;
            SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<intptr_t>(previous));
            SetWindowLongPtrW(control, GWLP_USERDATA, 0);
            delete block;
            return CallWindowProcW(previous, control, message, wparam, lparam);
        }
        default:
            return CallWindowProcW(block->Previous, control, message, wparam, lparam);
    }
}

RECT WindowRectInClient(HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    POINT corners[2] = {{rect.left, rect.top}, {rect.right, rect.bottom}};
    ScreenToClient(control, &corners[0]);
    ScreenToClient(control, &corners[1]);
    return RECT{corners[0].x, corners[0].y, corners[1].x, corners[1].y};
}

}  // namespace

bool InstallWatermarkPreview(HWND control, const settings::WatermarkSpec& record, HANDLE printer,
                             PreviewRecordSource source) {
    if (control == nullptr || !IsWindow(control)) {
        return false;
    }
    auto block = std::make_unique<PreviewBlock>();
    block->Record = record;
    block->Printer = printer;
    block->Source = std::move(source);
    block->Previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<intptr_t>(&PreviewProcedure)));
    if (block->Previous == nullptr) {
        return false;
    }
    SetWindowLongPtrW(control, GWLP_USERDATA, reinterpret_cast<intptr_t>(block.release()));
    return true;
}

bool DrawWatermarkPreview(HDC dc, HWND control, const settings::WatermarkSpec& record,
                          HANDLE printer) {
    std::u16string text = TextOf(record.Text);
    if (record.Dynamic != 0) {
        SYSTEMTIME now{};
        GetLocalTime(&now);
        std::u16string expanded(DynamicTextCapacity, u'\0');
        uint32_t capacity = DynamicTextCapacity;
        if (!ExpandWatermarkText(printer, 0, text.c_str(), 1, now, ExpansionMode::PreviewMode,
                                 expanded.data(), &capacity) ||
            capacity == 0) {
            return false;
        }
        expanded.resize(capacity - 1);
        text = std::move(expanded);
    }
    watermark::WatermarkCanvas canvas;
    GetClientRect(control, &canvas.Page);
    canvas.Outline = WindowRectInClient(control);
    return watermark::DrawWatermark(dc, canvas, record, text);
}

void InvalidatePreview(HWND dialog) {
    const HWND control = GetDlgItem(dialog, IDC_WATERMARK_PREVIEW);
    if (control == nullptr) {
        return;
    }
    const RECT rect = WindowRectInClient(control);
    InvalidateRect(control, &rect, TRUE);
}

}  // namespace qv::ui
