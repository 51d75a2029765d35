// The plug-in's printer and driver events: the print processor from the PPD's name, the
// protocol value, and the default watermarks of a newly installed driver.
#include "ui/core/printer_events.h"

#include <gtest/gtest.h>

#include "host/system/printer_store.h"
#include "host/system/registry_key.h"
#include "platform/oem_ui.h"
#include "tests/ui/ui_fixture.h"
#include "ui/core/ui_plugin.h"
#include "ui/watermarks/watermark_store.h"

namespace {

using namespace platform;
namespace ui = qv::ui;

TEST(PrintProcessorName, ComesFromTheDataFileName) {
    struct Case {
        const char16_t* dataFile;
        const char16_t* processor;  // empty: the name does not qualify
    };
    const Case cases[] = {
        {u"C:\\DRIVERS\\PRNT01Z.PPD", u"PRNT01C"},
        {u"C:\\DRIVERS\\QV9000Z.PPD", u"QV9000C"},
        {u"C:\\DRIVERS\\ab.cd.ppd", u"aC"},
        {u"C:\\DRIVERS\\Z.PPD", u"C"},
        {u"C:\\DRIVERS\\NODOT", u""},
        {u"C:\\DRIVERS\\.PPD", u""},
        {u"C:\\DRIVERS\\SHORT.PP", u""},
        {u"C:\\DRIVERS\\", u""},
        {u"QV9000Z.PPD", u""},
        {u"", u""},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(std::string(
            test.dataFile, test.dataFile + std::char_traits<char16_t>::length(test.dataFile)));
        EXPECT_EQ(test.processor, ui::PrintProcessorFromDataFile(test.dataFile));
    }
}

class PrinterEventTest : public testing_support::PluginMachineTest {
  protected:
    HRESULT Initialize(const char16_t* name = Printer) {
        std::u16string printer = name;
        return plugin_.PrinterEvent(printer.data(), PRINTER_EVENT_INITIALIZE, 0, 0);
    }
    std::u16string PrintProcessor() {
        return host::PrinterStore::ReadPrinter(Printer)->printProcessor;
    }
    std::optional<uint32_t> Protocol() {
        host::RegistryKey key;
        if (host::RegistryKey::Open(HKEY_LOCAL_MACHINE,
                                    host::PrinterStore::DriverDataKeyPath(Printer), KEY_READ,
                                    key) != ERROR_SUCCESS) {
            return std::nullopt;
        }
        return key.GetDword(u"Protocol");
    }

    ui::UiPlugin plugin_{ui::ModuleCounters()};
};

TEST_F(PrinterEventTest, InitializeSetsThePrintProcessorOfThePpd) {
    EXPECT_EQ(S_OK, Initialize());
    EXPECT_EQ(u"QV9000C", PrintProcessor());
}

TEST_F(PrinterEventTest, OtherEventsAndUnknownPrintersChangeNothing) {
    std::u16string printer = Printer;
    for (const int32_t event : {PRINTER_EVENT_ADD_CONNECTION, PRINTER_EVENT_DELETE_CONNECTION,
                                PRINTER_EVENT_DELETE, 99}) {
        SCOPED_TRACE(event);
        EXPECT_EQ(S_OK, plugin_.PrinterEvent(printer.data(), event, 0, 0));
    }
    EXPECT_EQ(u"WinPrint", PrintProcessor());
    EXPECT_EQ(E_FAIL, Initialize(u"No Such Printer"));
    EXPECT_EQ(E_FAIL, plugin_.PrinterEvent(nullptr, PRINTER_EVENT_INITIALIZE, 0, 0));
}

TEST_F(PrinterEventTest, ProtocolBecomesBinaryOnlyWhereOneIsRecorded) {
    struct Case {
        const char* name;
        std::optional<uint32_t> before;
        std::optional<uint32_t> after;
    };
    const Case cases[] = {
        {"none recorded", std::nullopt, std::nullopt},
        {"text protocol", 1u, 4u},
        {"already binary", 4u, 4u},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        host::RegistryKey key;
        ASSERT_EQ(ERROR_SUCCESS,
                  host::RegistryKey::Create(HKEY_LOCAL_MACHINE,
                                            host::PrinterStore::DriverDataKeyPath(Printer),
                                            KEY_ALL_ACCESS, key));
        RegDeleteValueW(key.Handle(), u"Protocol");
        if (test.before) {
            ASSERT_EQ(ERROR_SUCCESS, key.SetDword(u"Protocol", *test.before));
        }
        EXPECT_EQ(S_OK, Initialize());
        EXPECT_EQ(test.after, Protocol());
    }
}

class DriverEventTest : public testing_support::PluginMachineTest {
  protected:
    bool HasDefaults(std::u16string_view driver) {
        ui::RegistryKey key;
        return ui::OpenDriverKeyByName(driver, ui::KeyMode::Read, key);
    }

    ui::UiPlugin plugin_{ui::ModuleCounters()};
};

TEST_F(DriverEventTest, InitializeWritesTheDefaultsOfTheNamedDriverAtLevelsOneToThree) {
    char16_t level1Name[] = u"Driver One";
    char16_t level2Name[] = u"Driver Two";
    char16_t level3Name[] = u"Driver Three";
    char16_t other[] = u"Driver Six";
    DRIVER_INFO_1W level1{level1Name};
    DRIVER_INFO_2W level2{3, level2Name, nullptr, nullptr, nullptr, nullptr};
    DRIVER_INFO_3W level3{3,       level3Name, nullptr, nullptr, nullptr,
                          nullptr, nullptr,    nullptr, nullptr, nullptr};
    DRIVER_INFO_3W level6{3,       other,   nullptr, nullptr, nullptr,
                          nullptr, nullptr, nullptr, nullptr, nullptr};
    struct Case {
        const char* name;
        uint32_t event;
        uint32_t level;
        void* info;
        const char16_t* driver;
        bool written;
    };
    const Case cases[] = {
        {"level 1", DRIVER_EVENT_INITIALIZE, 1, &level1, level1Name, true},
        {"level 2", DRIVER_EVENT_INITIALIZE, 2, &level2, level2Name, true},
        {"level 3", DRIVER_EVENT_INITIALIZE, 3, &level3, level3Name, true},
        {"level 6", DRIVER_EVENT_INITIALIZE, 6, &level6, other, false},
        {"delete", DRIVER_EVENT_DELETE, 3, &level6, other, false},
        {"no information", DRIVER_EVENT_INITIALIZE, 3, nullptr, other, false},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        EXPECT_EQ(S_OK,
                  plugin_.DriverEvent(test.event, test.level, static_cast<uint8_t*>(test.info), 0));
        EXPECT_EQ(test.written, HasDefaults(test.driver));
    }
}

}  // namespace
