// The printer device context's side of a job: what an application does on the context (start
// and end of the document and of pages, drawing, escapes) reaches the host driver's job.
#pragma once

#include <functional>
#include <string>

#include "host/gdi/printer_dc.h"
#include "host/psdriver/document.h"
#include "host/psdriver/ps_job.h"

namespace host {

class JobPrintTarget final : public PrintTarget {
public:
    // The document gives the job its prolog, setup and trailer; its pages come from the context.
    JobPrintTarget(PsJob& job, const Document& document, uint32_t jobId)
        : job_(job), document_(document), jobId_(jobId) {}

    bool StartDocument(std::u16string_view documentName) override;
    bool StartPage() override;
    void WritePageContent(std::string_view postscript) override { job_.WriteContent(postscript); }
    void EndPage() override { job_.EndPage(); }
    void EndingDocument() override {
        if (endingDocument_) {
            endingDocument_();
        }
    }
    bool EndDocument() override;
    int Escape(int code, int inputSize, const char* input, int outputSize, char* output) override;

    const std::string& Error() const { return error_; }
    // Called from within the context's EndDoc, before the job's trailer.
    void OnEndingDocument(std::function<void()> call) { endingDocument_ = std::move(call); }

private:
    PsJob& job_;
    const Document& document_;
    uint32_t jobId_;
    std::string error_;
    std::function<void()> endingDocument_;
};

// Draws a numbered page with graphics calls on a printer device context.
void DrawNumberedPage(platform::HDC dc, int page, int pages);

}  // namespace host
