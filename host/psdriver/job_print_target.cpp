#include "host/psdriver/job_print_target.h"

#include <cstring>

#include "platform/gdi.h"

namespace host {

using namespace platform;

bool JobPrintTarget::StartDocument(std::u16string_view documentName) {
    return job_.StartDocument(document_, std::u16string(documentName), jobId_, error_);
}

bool JobPrintTarget::StartPage() {
    job_.StartPage();
    return true;
}

bool JobPrintTarget::EndDocument() { return job_.EndDocument(document_, error_); }

int JobPrintTarget::Escape(int code, int inputSize, const char* input, int outputSize, char* output) {
    return static_cast<int>(job_.Escape(static_cast<uint32_t>(code), static_cast<uint32_t>(inputSize),
                                        input, static_cast<uint32_t>(outputSize), output));
}

void DrawNumberedPage(HDC dc, int page, int pages) {
    const int dpi = GetDeviceCaps(dc, LOGPIXELSX);
    const int width = GetDeviceCaps(dc, PHYSICALWIDTH);
    const int height = GetDeviceCaps(dc, PHYSICALHEIGHT);
    const int margin = dpi / 2;
    const HPEN pen = CreatePen(PS_SOLID, dpi / 100, RGB(0, 0, 0));
    const HGDIOBJ oldPen = SelectObject(dc, pen);
    const HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, margin, margin, width - margin, height - margin);
    LOGFONTW font{};
    font.lfHeight = -MulDiv(36, dpi, 72);
    font.lfWeight = 700;
    font.lfCharSet = DEFAULT_CHARSET;
    std::memcpy(font.lfFaceName, u"Arial", sizeof(u"Arial"));
    const HFONT heading = CreateFontIndirectW(&font);
    const HGDIOBJ oldFont = SelectObject(dc, heading);
    SetBkMode(dc, TRANSPARENT);
    const std::string label = "Page " + std::to_string(page) + " of " + std::to_string(pages);
    const std::u16string text(label.begin(), label.end());
    TextOutW(dc, margin * 2, margin * 2, text.c_str(), static_cast<int32_t>(text.size()));
    SelectObject(dc, oldFont);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(heading);
    DeleteObject(pen);
}

}  // namespace host
