#include "host/gdi/printer_dc.h"

#include <cairo-ps.h>

#include <cmath>

namespace host {

namespace {

constexpr int SP_ERROR = -1;

cairo_status_t AppendBytes(void* closure, const unsigned char* data, unsigned int length) {
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
}

int DeviceUnits(double points) { return static_cast<int>(std::lround(points * PrinterDC::Resolution / 72.0)); }

}  // namespace

// An A4 page at the printers' resolution.
PrinterInfoDC::PrinterInfoDC()
    : DeviceContext(PrinterDC::Resolution, PrinterDC::Resolution, DeviceUnits(595.0),
                    DeviceUnits(842.0)) {}

PrinterDC::PrinterDC(PrintTarget& target, double widthPoints, double heightPoints)
    : DeviceContext(Resolution, Resolution, DeviceUnits(widthPoints), DeviceUnits(heightPoints)),
      target_(target),
      widthPoints_(widthPoints),
      heightPoints_(heightPoints) {}

PrinterDC::~PrinterDC() {
    if (cr_ != nullptr) {
        cairo_destroy(cr_);
        cairo_surface_destroy(segment_);
    }
}

int PrinterDC::StartDoc(const platform::DOCINFOW* info) {
    if (inDocument_) {
        return SP_ERROR;
    }
    const char16_t* name = info != nullptr && info->lpszDocName != nullptr ? info->lpszDocName : u"";
    if (!target_.StartDocument(name)) {
        return SP_ERROR;
    }
    inDocument_ = true;
    return 1;
}

int PrinterDC::EndDoc() {
    if (!inDocument_) {
        return SP_ERROR;
    }
    if (inPage_) {
        EndPage();
    }
    target_.EndingDocument();
    if (inPage_) {
        EndPage();
    }
    inDocument_ = false;
    return target_.EndDocument() ? 1 : SP_ERROR;
}

int PrinterDC::StartPage() {
    if (!inDocument_ || inPage_ || !target_.StartPage()) {
        return SP_ERROR;
    }
    inPage_ = true;
    return 1;
}

int PrinterDC::EndPage() {
    if (!inPage_) {
        return SP_ERROR;
    }
    CloseSegment();
    inPage_ = false;
    target_.EndPage();
    return 1;
}

int PrinterDC::Escape(int code, int inputSize, const char* input, int outputSize, char* output) {
    CloseSegment();
    return target_.Escape(code, inputSize, input, outputSize, output);
}

cairo_t* PrinterDC::Target() {
    if (!inPage_) {
        return nullptr;
    }
    if (cr_ == nullptr) {
        eps_.clear();
        segment_ = cairo_ps_surface_create_for_stream(&AppendBytes, &eps_, widthPoints_, heightPoints_);
        cairo_ps_surface_set_eps(segment_, TRUE);
        cr_ = cairo_create(segment_);
        cairo_scale(cr_, 72.0 / Resolution, 72.0 / Resolution);
    }
    return cr_;
}

void PrinterDC::CloseSegment() {
    if (cr_ == nullptr) {
        return;
    }
    cairo_destroy(cr_);
    cairo_surface_finish(segment_);
    cairo_surface_destroy(segment_);
    cr_ = nullptr;
    segment_ = nullptr;
    // The piece draws on the page as it stands; its own showpage and definitions stay inside.
    std::string piece = "%%BeginDocument: drawing.eps\nsave /showpage {} def\n";
    piece += eps_;
    piece += "\nrestore\n%%EndDocument\n";
    target_.WritePageContent(piece);
    eps_.clear();
}

}  // namespace host
