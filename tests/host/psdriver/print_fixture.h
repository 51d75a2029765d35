// A machine with the sample colour driver (the plug-ins as built) and a printer on a file port,
// for tests that print whole jobs; and Ghostscript's view of a job stream.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "host/psdriver/print_job.h"
#include "host/system/machine.h"
#include "host/system/spooler_admin.h"
#include "platform/devmode.h"
#include "settings/plugin_devmode.h"
#include "tests/host/system/machine_fixture.h"

namespace testing_support {

using platform::DEVMODEW;
using platform::DMDUP_SIMPLEX;
using qv::settings::PluginDevmode;

inline std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

// The bounding box Ghostscript finds on each page of the stream; empty when it reports an error.
inline std::vector<std::string> GhostscriptBoxes(const std::string& stream) {
    char path[] = "/tmp/qvjob-XXXXXX";
    const int fd = mkstemp(path);
    if (fd < 0) {
        return {};
    }
    FILE* file = fdopen(fd, "wb");
    std::fwrite(stream.data(), 1, stream.size(), file);
    std::fclose(file);
    const std::string command = std::string("gs -q -dSAFER -dNOPAUSE -dBATCH -sDEVICE=bbox ") + path + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    std::vector<std::string> boxes;
    char line[512];
    while (std::fgets(line, sizeof line, pipe) != nullptr) {
        if (std::string(line).rfind("%%BoundingBox:", 0) == 0) {
            boxes.emplace_back(line);
        }
    }
    const int status = pclose(pipe);
    std::remove(path);
    return status == 0 ? boxes : std::vector<std::string>();
}

// Pages Ghostscript renders from the stream, or -1 when it reports an error.
inline int GhostscriptPages(const std::string& stream) {
    const std::vector<std::string> boxes = GhostscriptBoxes(stream);
    return boxes.empty() && !stream.empty() ? -1 : static_cast<int>(boxes.size());
}

struct JobSetup {
    std::function<void(PluginDevmode&)> Settings{};
    std::vector<std::pair<std::string, std::string>> Options{};
    int16_t Duplex = DMDUP_SIMPLEX;
};

// A machine with the sample colour driver (the built plug-ins) and a printer on a file port.
class PrintTest : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = testing_support::MakeTemporaryFolder();
        host::OpenMemoryMachine(root_);
        host::SetCurrentUser(u"alice");
        std::string error;
        ASSERT_TRUE(host::SetComputerName(u"WS-042", error)) << error;
        ASSERT_TRUE(host::SpoolerAdmin::InstallDriver(
            {u"Quorvel QV9000Z PS", std::string(QV_SAMPLES_DIR) + "/ppd/QV9000Z.PPD", {}, QV_MODULE_DIR},
            error))
            << error;
        std::filesystem::create_directories(host::MapPath(u"C:\\out"));
        ASSERT_TRUE(host::SpoolerAdmin::AddPrinter({u"Office", u"Quorvel QV9000Z PS", u"C:\\out\\office.prn", u""},
                                                   error))
            << error;
    }
    void TearDown() override {
        host::OpenMemoryMachine();
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }

    // The bytes that reached the printer's port.
    std::string Print(const host::Document& document) { return Print(document, JobSetup()); }
    // The bytes that reached the printer's port.
    std::string Print(const host::Document& document, const JobSetup& setup) {
        const host::PrintResult result = Submit(Request(document, setup));
        EXPECT_EQ(static_cast<int>(document.Pages.size()), result.Pages);
        return PortBytes();
    }

    host::PrintRequest Request(const host::Document& document, const JobSetup& setup) {
        host::PrintRequest request;
        request.Printer = u"Office";
        request.DocumentName = u"Quarterly report";
        request.Content = document;
        request.Options = setup.Options;
        request.EditSettings = [settings = setup.Settings](void* record, std::string&) {
            if (settings) {
                settings(*static_cast<PluginDevmode*>(record));
            }
            return true;
        };
        request.EditPublic = [duplex = setup.Duplex](DEVMODEW& publicMode, std::string&) {
            publicMode.dmDuplex = duplex;
            return true;
        };
        return request;
    }

    host::PrintResult Submit(const host::PrintRequest& request, bool succeeds = true) {
        host::PrintResult result;
        std::string error;
        EXPECT_EQ(succeeds, host::PrintDocument(request, result, error)) << error;
        return result;
    }

    std::string PortBytes() const { return ReadFile(host::MapPath(u"C:\\out\\office.prn").string()); }

    std::filesystem::path root_;
};

}  // namespace testing_support
