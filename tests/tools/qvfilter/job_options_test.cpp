// CUPS options of a job mapped onto the settings record, the device mode and PPD features.
#include "tools/qvfilter/job_options.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <variant>

#include "tests/host/system/machine_fixture.h"

namespace {

using Options = std::map<std::string, std::string>;

host::Ppd OpenPpd(const std::string& path) {
    auto opened = host::Ppd::Open(path);
    if (auto* reason = std::get_if<std::string>(&opened)) {
        ADD_FAILURE() << *reason;
    }
    return std::get<host::Ppd>(std::move(opened));
}

std::string Sample(const char* name) {
    return std::string(QV_SAMPLES_DIR "/ppd/") + name;
}

// The colour sample with its fax card installed (as it comes), as lpadmin -o FaxCard=True leaves
// a queue's PPD.
std::string FaxCardPpd(const std::filesystem::path& folder) {
    std::ifstream in(Sample("QV9000Z.PPD"));
    std::ofstream out(folder / "FAX.PPD");
    std::string line;
    while (std::getline(in, line)) {
        out << (line == "*DefaultFaxCard: False" ? "*DefaultFaxCard: True" : line) << '\n';
    }
    return (folder / "FAX.PPD").string();
}

bool Has(const std::vector<std::string>& fields, const std::string& field) {
    return std::find(fields.begin(), fields.end(), field) != fields.end();
}

bool HasField(const std::vector<std::string>& fields, const std::string& name) {
    return std::any_of(fields.begin(), fields.end(),
                       [&](const std::string& field) { return field.rfind(name + "=", 0) == 0; });
}

TEST(JobOptions, MapsFeaturesOntoTheRecordAndDeviceMode) {
    const host::Ppd ppd = OpenPpd(Sample("QV9000Z.PPD"));
    struct Case {
        const char* name;
        Options options;
        std::vector<std::string> fields;
        std::vector<std::string> absent;  // fields that must not be set
    } cases[] = {
        {"confidential with CUPS's job password",
         {{"QVOutput", "Confidential"}, {"job-password", "1234"}},
         {"OutputDestination=4", "HoldPin=1234", "HoldUserName=bob"}},
        {"QVHoldPin wins over job-password",
         {{"QVOutput", "confidential"}, {"job-password", "1111"}, {"QVHoldPin", "Custom.2222"}},
         {"HoldPin=2222"}},
        {"reserve with a user of its own",
         {{"QVOutput", "Reserve"}, {"QVHoldUser", "Custom.alice"}, {"QVKeepHeld", "True"}},
         {"OutputDestination=5", "HoldUserName=alice", "KeepDuplicateHeldJobs=1"},
         {"HoldPin"}},
        {"the default user choice is the job's user",
         {{"QVOutput", "Verify"}, {"QVHoldUser", "JobUser"}},
         {"OutputDestination=7", "HoldUserName=bob"}},
        {"plain printing sets no held-job fields",
         {{"QVOutput", "Printer"}},
         {"OutputDestination=0"},
         {"HoldUserName", "HoldPin"}},
        {"color and quality fields",
         {{"QVColorCorrection", "Manual"},
          {"QVRgbText", "Vivid"},
          {"QVRgbImage", "DisplayRealBlack"},
          {"QVCmyk", "EuroCMYK"},
          {"QVTonerlite", "On"},
          {"QVColorBalance", "Manual"},
          {"QVBalanceCyan", "5"},
          {"QVBalanceBlack", "-5"},
          {"QVBrightness", "-6"},
          {"QVContrast", "5"},
          {"QVSaturation", "2"},
          {"QVGrayCorrection", "Manual"},
          {"QVLineDetail", "Off"}},
         {"Color.ColorCorrection=4", "Color.ManualColorRgbText=3", "Color.ManualColorRgbImage=5",
          "Color.ManualColorCmykText=2", "Color.ManualColorCmykGraphics=2",
          "Color.ManualColorCmykImage=2", "Color.Tonerlite=2", "Color.ColorBalanceEnabled=1",
          "Color.ColorBalanceCyan=5", "Color.ColorBalanceBlack=-5", "ImageBrightness=-6",
          "ImageContrast=5", "ImageSaturation=2", "QualityColorCorrection=2", "LineDetail=1"}},
        {"reverse portrait turns the pages", {{"orientation-requested", "6"}}, {"Rotate180=1"}},
        {"reverse landscape turns the pages", {{"orientation-requested", "5"}}, {"Rotate180=1"}},
        {"portrait does not", {{"orientation-requested", "3"}}, {"Rotate180=0"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string error;
        const auto settings = qvfilter::MapJobOptions(c.options, {"bob", 1}, ppd, error);
        ASSERT_TRUE(settings) << error;
        for (const std::string& field : c.fields) {
            EXPECT_TRUE(Has(settings->RecordFields, field)) << field;
        }
        for (const std::string& field : c.absent) {
            EXPECT_FALSE(HasField(settings->RecordFields, field)) << field;
        }
    }
}

TEST(JobOptions, MapsStandardOptionsOntoTheHost) {
    const host::Ppd ppd = OpenPpd(Sample("QV9000Z.PPD"));
    std::string error;
    const auto settings = qvfilter::MapJobOptions({{"sides", "two-sided-short-edge"},
                                                   {"number-up", "4"},
                                                   {"orientation-requested", "4"},
                                                   {"ColorModel", "Gray"},
                                                   {"PageSize", "A5"},
                                                   {"Resolution", "1200dpi"},
                                                   {"HasManualDuplex", "True"},
                                                   {"job-uuid", "urn:uuid:1"}},
                                                  {"bob", 3}, ppd, error);
    ASSERT_TRUE(settings) << error;
    EXPECT_EQ(3, settings->Copies);
    EXPECT_EQ(3, settings->Duplex);
    EXPECT_EQ(2, settings->Orientation);
    EXPECT_EQ(1, settings->Color);
    const std::vector<std::pair<std::string, std::string>> expected = {{"%PagePerSheet", "4"},
                                                                       {"ColorModel", "Gray"},
                                                                       {"HasManualDuplex", "True"},
                                                                       {"PageSize", "A5"},
                                                                       {"Resolution", "1200dpi"}};
    for (const auto& option : expected) {
        EXPECT_NE(settings->PpdOptions.end(),
                  std::find(settings->PpdOptions.begin(), settings->PpdOptions.end(), option))
            << option.first;
    }

    const auto duplex = qvfilter::MapJobOptions(
        {{"sides", "one-sided"}, {"Duplex", "DuplexNoTumble"}, {"media", "letter,tray1"}},
        {"bob", 1}, ppd, error);
    ASSERT_TRUE(duplex) << error;
    EXPECT_EQ(2, duplex->Duplex);  // the PPD's own keyword wins over the IPP one
    EXPECT_EQ((std::pair<std::string, std::string>("PageSize", "Letter")),
              duplex->PpdOptions.at(0));
}

TEST(JobOptions, FaxFieldsNeedTheFaxCardOn) {
    const std::filesystem::path folder = testing_support::MakeTemporaryFolder();
    const host::Ppd ppd = OpenPpd(FaxCardPpd(folder));
    std::string error;
    const auto settings = qvfilter::MapJobOptions({{"QVOutput", "Fax"},
                                                   {"QVFaxNumber", "555 0100"},
                                                   {"QVFaxRecipient", "Custom.Li Wei"},
                                                   {"QVFaxStation", "QV-OFFICE"},
                                                   {"QVFaxResolution", "Fine"}},
                                                  {"bob", 1}, ppd, error);
    std::filesystem::remove_all(folder);
    ASSERT_TRUE(settings) << error;
    for (const char* field :
         {"OutputDestination=3", "Fax.FaxNumber=555 0100", "Fax.FaxRecipientName=Li Wei",
          "Fax.FaxStationId=QV-OFFICE", "Fax.FaxResolution=0"}) {
        EXPECT_TRUE(Has(settings->RecordFields, field)) << field;
    }
}

TEST(JobOptions, BadValuesGiveOneErrorLine) {
    struct Case {
        const char* ppd;
        Options options;
        std::string user;
        const char* error;
    } cases[] = {
        {"QV9000Z.PPD",
         {{"QVOutput", "Confidential"}, {"QVHoldPin", "12a4"}},
         "bob",
         "ERROR: QVHoldPin takes a PIN of four digits (0-9)"},
        {"QV9000Z.PPD",
         {{"QVOutput", "Confidential"}, {"job-password", "12345"}},
         "bob",
         "ERROR: job-password takes a PIN of four digits (0-9)"},
        {"QV9000Z.PPD",
         {{"QVOutput", "Confidential"}},
         "bob",
         "ERROR: QVOutput=Confidential needs a PIN of four digits (job-password or QVHoldPin)"},
        {"QV9000Z.PPD",
         {{"QVOutput", "Reserve"}, {"QVHoldUser", std::string(25, 'u')}},
         "bob",
         "ERROR: QVHoldUser takes a text of 1 to 24 characters"},
        {"QV9000Z.PPD",
         {{"QVOutput", "File"}},
         "bob",
         "ERROR: QVOutput takes Printer, Fax, Confidential, Reserve, Repeat, Verify, not 'File'"},
        {"KS2000.PPD",  // no fax card
         {{"QVOutput", "Fax"}},
         "bob",
         "ERROR: QVOutput takes Printer, Confidential, Reserve, Repeat, Verify, not 'Fax'"},
        {"KS2000.PPD",
         {{"QVFaxNumber", "5550100"}},
         "bob",
         "ERROR: QVFaxNumber needs a fax card (FaxCard), which this printer does not have"},
        {"QV9000Z.PPD",
         {{"QVBrightness", "7"}},
         "bob",
         "ERROR: QVBrightness takes a whole number from -6 to 6, not '7'"},
        {"QV9000Z.PPD",
         {{"QVContrast", "1.5"}},
         "bob",
         "ERROR: QVContrast takes a whole number from 0 to 5, not '1.5'"},
        {"QV9000Z.PPD",
         {{"QVTonerlite", "Maybe"}},
         "bob",
         "ERROR: QVTonerlite takes PrinterSetting, On, Off, not 'Maybe'"},
        {"QV9000Z.PPD",
         {{"number-up", "3"}},
         "bob",
         "ERROR: number-up takes 1, 2, 4, 6, 9 or 16, not '3'"},
        {"QV9000Z.PPD",
         {{"orientation-requested", "7"}},
         "bob",
         "ERROR: orientation-requested takes 3 (portrait), 4 (landscape), 5 (reverse landscape) "
         "or 6 (reverse portrait), not '7'"},
        {"QV9000Z.PPD",
         {{"sides", "both"}},
         "bob",
         "ERROR: sides takes one-sided, two-sided-long-edge, two-sided-short-edge, not 'both'"},
        {"QV9000Z.PPD",
         {{"PageSize", "B5"}},
         "bob",
         "ERROR: PageSize takes A4, Letter, A5, not 'B5'"},
        {"QV5000M.PPD",
         {{"QVTonerlite", "On"}},
         "bob",
         "ERROR: QVTonerlite needs manual color correction (HasManualColorCorrection), which this "
         "printer does not have"},
        {"QV3000.PPD",
         {{"QVOutput", "Confidential"}, {"QVHoldPin", "1234"}},
         "bob",
         "ERROR: QVOutput takes Printer, not 'Confidential'"},
        {"QV3000.PPD",
         {{"QVHoldUser", "alice"}},
         "bob",
         "ERROR: QVHoldUser needs held jobs (HasPrintandHold), which this printer does not have"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.error);
        const host::Ppd ppd = OpenPpd(Sample(c.ppd));
        std::string error;
        EXPECT_FALSE(qvfilter::MapJobOptions(c.options, {c.user, 1}, ppd, error));
        EXPECT_EQ(c.error, error);
    }
}

TEST(JobOptions, ALongJobUserIsCutToTheHeldJobName) {
    const host::Ppd ppd = OpenPpd(Sample("QV9000Z.PPD"));
    std::string error;
    const auto settings = qvfilter::MapJobOptions(
        {{"QVOutput", "Repeat"}}, {"abcdefghijklmnopqrstuvwxyz0123", 1}, ppd, error);
    ASSERT_TRUE(settings) << error;
    EXPECT_TRUE(Has(settings->RecordFields, "HoldUserName=abcdefghijklmnopqrstuvwx"));
}

}  // namespace
