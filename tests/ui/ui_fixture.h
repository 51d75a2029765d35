// The plug-in's code linked into the test with the plug-in's own string table, on a machine with
// the sample driver and a printer; the printer is opened as the host opens it for the plug-in.
#pragma once

#include <string>

#include "platform/module.h"
#include "platform/spooler.h"
#include "settings/module_instance.h"
#include "tests/host/system/spooler_fixture.h"

namespace testing_support {

inline platform::HMODULE ThisModule() {
    return platform::ModuleFromAddress(reinterpret_cast<const void*>(&ThisModule));
}

class PluginMachineTest : public SpoolerTest {
  protected:
    static constexpr const char16_t* Printer = u"QV Office";
    static constexpr const char16_t* Driver = u"Quorvel QV9000Z PS";

    void SetUp() override {
        SpoolerTest::SetUp();
        qv::settings::ModuleInstance = ThisModule();
        printer_ = Open(Printer);
        ASSERT_NE(nullptr, printer_);
    }
    void TearDown() override {
        for (platform::HANDLE handle : opened_) {
            platform::ClosePrinter(handle);
        }
        SpoolerTest::TearDown();
    }

    platform::HANDLE Open(const char16_t* name) {
        platform::HANDLE handle = nullptr;
        if (!platform::OpenPrinterW(name, &handle, nullptr)) {
            return nullptr;
        }
        opened_.push_back(handle);
        return handle;
    }

    platform::HANDLE printer_ = nullptr;

  private:
    std::vector<platform::HANDLE> opened_;
};

}  // namespace testing_support
