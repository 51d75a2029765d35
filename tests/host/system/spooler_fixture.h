// A machine with the sample driver installed from stand-in files and one printer on a file port.
#pragma once

#include <fstream>
#include <string>

#include "host/system/spooler_admin.h"
#include "tests/host/system/machine_fixture.h"

namespace testing_support {

class SpoolerTest : public MachineTest {
  protected:
    void SetUp() override {
        MachineTest::SetUp();
        std::string error;
        ASSERT_TRUE(host::SetComputerName(u"QV-TEST", error)) << error;
        files_ = root_ / "source";
        std::filesystem::create_directories(files_);
        std::ofstream(files_ / "QV9000Z.PPD")
            << "*PPD-Adobe: \"4.3\"\n*Manufacturer: \"Quorvel\"\n*ModelName: \"Quorvel QV9000Z\"\n";
        std::ofstream(files_ / "QV9000Z.CHM") << "help";
        std::ofstream(files_ / "qvpsui.so") << "ui";
        std::ofstream(files_ / "qvpsrnd.so") << "render";
        ASSERT_TRUE(host::SpoolerAdmin::InstallDriver(
            {u"Quorvel QV9000Z PS", files_ / "QV9000Z.PPD", files_ / "QV9000Z.CHM", files_}, error))
            << error;
        std::filesystem::create_directories(host::MapPath(u"C:\\out"));
        ASSERT_TRUE(host::SpoolerAdmin::AddPrinter(
            {u"QV Office", u"Quorvel QV9000Z PS", u"C:\\out\\office.prn", u""}, error))
            << error;
    }

    std::filesystem::path files_;
};

}  // namespace testing_support
