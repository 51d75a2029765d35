// A printer handle of the host driver, opened with the application's default access and closed
// when it goes.
#pragma once

#include <string>

#include "platform/spooler.h"

namespace host {

class OpenedPrinter {
  public:
    // access 0: the application's default access.
    explicit OpenedPrinter(const std::u16string& name, uint32_t access = 0) {
        platform::PRINTER_DEFAULTSW defaults{nullptr, nullptr, access};
        if (!platform::OpenPrinterW(name.c_str(), &handle_, access != 0 ? &defaults : nullptr)) {
            handle_ = nullptr;
        }
    }
    ~OpenedPrinter() {
        if (handle_ != nullptr) {
            platform::ClosePrinter(handle_);
        }
    }
    OpenedPrinter(const OpenedPrinter&) = delete;
    OpenedPrinter& operator=(const OpenedPrinter&) = delete;
    platform::HANDLE Get() const { return handle_; }

  private:
    platform::HANDLE handle_ = nullptr;
};

}  // namespace host
