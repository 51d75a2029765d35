// A printer's device context: what an application draws on a page becomes PostScript in that
// page of the job, and its escapes go to the printer driver's escape entry.
#pragma once

#include <string>
#include <string_view>

#include "host/gdi/device_context.h"

namespace host {

// The job a printer device context prints into (the host driver's side).
class PrintTarget {
public:
    virtual ~PrintTarget() = default;
    virtual bool StartDocument(std::u16string_view documentName) = 0;
    virtual bool StartPage() = 0;
    virtual void WritePageContent(std::string_view postscript) = 0;
    virtual void EndPage() = 0;
    // The document is about to end: its last page is done and pages may still be added.
    virtual void EndingDocument() {}
    virtual bool EndDocument() = 0;
    virtual int Escape(int code, int inputSize, const char* input, int outputSize, char* output) = 0;
};

class PrinterDC final : public DeviceContext {
public:
    static constexpr int Resolution = 600;

    // A page of widthPoints × heightPoints, drawn at 600 dots per inch.
    PrinterDC(PrintTarget& target, double widthPoints, double heightPoints);
    ~PrinterDC() override;

    int StartDoc(const platform::DOCINFOW* info) override;
    int EndDoc() override;
    int StartPage() override;
    int EndPage() override;
    int Escape(int code, int inputSize, const char* input, int outputSize, char* output) override;

protected:
    cairo_t* Target() override;
    bool LinearMetrics() const override { return true; }

private:
    // Drawing between two escapes of a page is one embedded EPS piece, so escapes keep their
    // place relative to the drawing.
    void CloseSegment();

    PrintTarget& target_;
    double widthPoints_;
    double heightPoints_;
    bool inDocument_ = false;
    bool inPage_ = false;
    cairo_surface_t* segment_ = nullptr;
    cairo_t* cr_ = nullptr;
    std::string eps_;
};

// A printer's information context (CreateDCW without a job): it answers the printer's
// resolution and page size, measures text and enumerates fonts, and draws nothing; pages are
// printed through the device context of a job.
class PrinterInfoDC final : public DeviceContext {
public:
    PrinterInfoDC();

protected:
    cairo_t* Target() override { return nullptr; }
    bool LinearMetrics() const override { return true; }
};

}  // namespace host
