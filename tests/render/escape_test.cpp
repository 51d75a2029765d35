// The escape hook: private escapes, escape support queries, refused PostScript escapes and the
// wrapped pass-through data.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "render_harness.h"
#include "settings/text.h"

namespace {

using namespace platform;
using qv::settings::PluginDevmode;
using qvtest::RenderHarness;

struct HostCall {
    uint32_t Code;
    uint32_t InputSize;
    std::string Input;
};
std::vector<HostCall> hostCalls;
constexpr uint32_t HostAnswer = 77;

uint32_t RecordingHostEscape(SURFOBJ*, uint32_t code, uint32_t inputSize, void* input, uint32_t,
                             void*) {
    hostCalls.push_back(
        {code, inputSize, input ? std::string(static_cast<const char*>(input), inputSize) : ""});
    return HostAnswer;
}

// A device whose escapes go through the plug-in's hook to the recording host function.
class EscapeHarness : public RenderHarness {
public:
    EscapeHarness() {
        Plugin->EnableDriver(0x30100, sizeof hooks_, &hooks_);
        Enable(&hostTable_);
        surface_.dhpdev = &Device;
        hostCalls.clear();
    }
    ~EscapeHarness() { Plugin->DisableDriver(); }

    uint32_t Escape(uint32_t code, const void* input = nullptr, uint32_t inputSize = 0,
                    void* output = nullptr, uint32_t outputSize = 0) {
        auto hook = reinterpret_cast<DrvEscapeFunction>(hooks_.pdrvfn[1].pfn);
        return hook(&surface_, code, inputSize, const_cast<void*>(input), outputSize, output);
    }
    uint32_t Query(uint32_t code) { return Escape(8, &code, sizeof code); }

private:
    DRVENABLEDATA hooks_{};
    DRVFN own_[1] = {{INDEX_DrvEscape, reinterpret_cast<PFN>(&RecordingHostEscape)}};
    DRVENABLEDATA hostTable_{0x30100, 1, own_};
    SURFOBJ surface_{};
};

TEST(EscapeHook, GettersAnswerTheirSizeAndCopyOnlyIntoRoomyBuffers) {
    struct Case {
        uint32_t code;
        uint32_t size;
    };
    const Case cases[] = {{0x10001, 220}, {0x10002, 7672}, {0x10006, 2620}, {0x10016, 16},
                          {0x10026, 4},   {0x10027, 704},  {0x10028, 704}};
    for (const Case& test : cases) {
        SCOPED_TRACE(test.code);
        EscapeHarness harness;
        std::vector<unsigned char> buffer(test.size + 8, 0xEE);
        EXPECT_EQ(test.size, harness.Escape(test.code, nullptr, 0, buffer.data(), 0));
        EXPECT_EQ(test.size, harness.Escape(test.code, nullptr, 0, nullptr, test.size));
        EXPECT_EQ(test.size, harness.Escape(test.code, nullptr, 0, buffer.data(), test.size - 1));
        EXPECT_EQ(0xEE, buffer[0]);
        EXPECT_EQ(test.size, harness.Escape(test.code, nullptr, 0, buffer.data(), test.size + 8));
        EXPECT_EQ(0xEE, buffer[test.size]);
        EXPECT_TRUE(hostCalls.empty());
    }
}

TEST(EscapeHook, PluginDevmodeRoundTripsWhole) {
    EscapeHarness harness;
    PluginDevmode record;
    ASSERT_EQ(7672u, harness.Escape(0x10002, nullptr, 0, &record, sizeof record));
    EXPECT_EQ(0, std::memcmp(&record, &harness.Settings, sizeof record));
    record.Rotate180 = 1;
    EXPECT_EQ(7672u, harness.Escape(0x10010, &record, sizeof record - 1));
    EXPECT_EQ(0u, harness.Settings.Rotate180);
    EXPECT_EQ(7672u, harness.Escape(0x10010, &record, sizeof record));
    EXPECT_EQ(1u, harness.Settings.Rotate180);
}

TEST(EscapeHook, RecordsWrittenWithLargerSizeFieldsAreNeverReadPastTheirEnd) {
    EscapeHarness harness;
    PluginDevmode record = harness.Settings;
    record.Size = 60000;
    harness.Escape(0x10010, &record, sizeof record);
    EXPECT_EQ(7672u, harness.Escape(0x10002, nullptr, 0, nullptr, 0));

    DEVMODEW publicMode = harness.Public;
    publicMode.dmSize = 4000;
    EXPECT_EQ(220u, harness.Escape(0x10012, &publicMode, sizeof publicMode));
    EXPECT_EQ(4000, harness.Public.dmSize);
    std::vector<unsigned char> out(5000, 0);
    EXPECT_EQ(220u, harness.Escape(0x10001, nullptr, 0, out.data(), 5000));

    // A rewritten device state image cannot widen the walk over the host's function table.
    std::vector<unsigned char> image(2620);
    harness.Escape(0x10006, nullptr, 0, image.data(), 2620);
    const uint32_t hugeCount = 1000000;
    std::memcpy(image.data() + 8, &hugeCount, 4);
    EXPECT_EQ(2620u, harness.Escape(0x10011, image.data(), 2620));
    EXPECT_EQ(HostAnswer, harness.Escape(0x4242));
}

TEST(EscapeHook, CountersAndRequests) {
    EscapeHarness harness;
    EXPECT_EQ(1u, harness.Escape(0x10003));
    EXPECT_EQ(2u, harness.Escape(0x10003));
    EXPECT_EQ(2u, harness.Escape(0x10005));
    EXPECT_EQ(0u, harness.Escape(0x10004));
    EXPECT_EQ(0u, harness.Escape(0x10005));

    EXPECT_EQ(1u, harness.Escape(0x10018));
    EXPECT_EQ(1, harness.StateField<uint16_t>(2608));
    EXPECT_EQ(1u, harness.Escape(0x10019));
    EXPECT_EQ(3, harness.StateField<uint16_t>(2608));

    harness.SetStateField<uint32_t>(28, 41);
    EXPECT_EQ(41u, harness.Escape(0x10013));

    EXPECT_EQ(0u, harness.Escape(0x10020));
    harness.Core->Features["HasManualDuplex"] = {"True", "False"};
    EXPECT_EQ(1u, harness.Escape(0x10020));
}

TEST(EscapeHook, SettersOfModeAndFlagPassOnToTheHost) {
    EscapeHarness harness;
    const uint16_t tooShort = 1;
    EXPECT_EQ(4u, harness.Escape(0x10008, &tooShort, sizeof tooShort));
    EXPECT_EQ(0u, harness.StateField<uint32_t>(20));
    EXPECT_TRUE(hostCalls.empty());
    const uint32_t on = 1;
    EXPECT_EQ(HostAnswer, harness.Escape(0x10008, &on, sizeof on));
    EXPECT_EQ(1u, harness.StateField<uint32_t>(20));
    const uint32_t flag = 5;
    EXPECT_EQ(HostAnswer, harness.Escape(0x10024, &flag, sizeof flag));
    EXPECT_EQ(5u, harness.StateField<uint32_t>(2612));
    EXPECT_EQ(2u, hostCalls.size());
}

TEST(EscapeHook, SheetCountFollowsTheNupOption) {
    struct Case {
        const char* option;
        int pages;
        uint32_t sheets;
    };
    const Case cases[] = {{"2", 5, 3}, {"Booklet", 5, 5}, {"4", 8, 2}, {"1", 3, 3}, {"booklet", 4, 4}};
    for (const Case& test : cases) {
        SCOPED_TRACE(test.option);
        EscapeHarness harness;
        harness.Core->Selected["%PagePerSheet"] = test.option;
        for (int i = 0; i < test.pages; ++i) {
            harness.Escape(0x10003);
        }
        EXPECT_EQ(test.sheets, harness.Escape(0x10009));
    }
}

TEST(EscapeHook, QueryEscapeSupport) {
    struct Case {
        uint32_t queried;
        uint32_t block;
        uint32_t answer;
    };
    const Case cases[] = {
        {0x10002, 0, 1},         {0x10021, 0, 1},          {0x10017, 0, 1},
        {0x10009, 0, HostAnswer}, {0x10026, 0, HostAnswer}, {4115, 1, 0},
        {4115, 0, HostAnswer},   {37, 1, 0},               {4117, 1, 0},
        {4118, 1, 0},            {19, 1, HostAnswer},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.queried);
        EscapeHarness harness;
        harness.Settings.BlockAppPostScript = test.block;
        EXPECT_EQ(test.answer, harness.Query(test.queried));
    }
    EscapeHarness harness;
    const uint16_t shortInput = 2;
    EXPECT_EQ(0u, harness.Escape(8, &shortInput, sizeof shortInput));
}

TEST(EscapeHook, ApplicationPostScriptIsRefusedOnlyWhenBlocked) {
    EscapeHarness harness;
    const char data[] = "\x04\x00test";
    EXPECT_EQ(HostAnswer, harness.Escape(4115, data, sizeof data));
    harness.Settings.BlockAppPostScript = 1;
    for (uint32_t code : {4115u, 4118u, 37u, 4117u}) {
        EXPECT_EQ(0u, harness.Escape(code, data, sizeof data)) << code;
    }
    EXPECT_EQ(1u, hostCalls.size());
}

std::string PassThrough(const std::string& text) {
    std::string input(2, '\0');
    input[0] = static_cast<char>(text.size() & 0xFF);
    input[1] = static_cast<char>(text.size() >> 8);
    return input + text;
}

const std::string Closing = "] ds imagemask grestore } for pop } for GSE\n";

TEST(PassThrough, RecognisedChunksAreWrappedInTheImagemaskSwitches) {
    EscapeHarness harness;
    const std::string chunk =
        PassThrough("userdict /GpPBeg known {GpPBeg} if 0 0 moveto gsave " +
                    std::string(60, 'x') + " [" + Closing);
    ASSERT_GE(chunk.size(), 127u);
    EXPECT_EQ(HostAnswer, harness.Escape(19, chunk.data(), static_cast<uint32_t>(chunk.size())));
    ASSERT_EQ(3u, hostCalls.size());
    EXPECT_EQ(chunk, hostCalls[1].Input);
    for (size_t i : {0u, 2u}) {
        EXPECT_EQ(19u, hostCalls[i].Code);
        EXPECT_EQ(125, static_cast<unsigned char>(hostCalls[i].Input[0]));
        EXPECT_NE(std::string::npos,
                  hostCalls[i].Input.find(i == 0 ? "get 1 exch exec}if\r\n" : "get 0 exch exec}if\r\n"));
    }
}

TEST(PassThrough, ShortRecognisedChunkStillGetsWholeFragments) {
    EscapeHarness harness;
    const std::string chunk = PassThrough("GpPBeg1 [" + Closing);
    ASSERT_LT(chunk.size(), 127u);
    ASSERT_GE(chunk.size(), 50u);
    harness.Escape(19, chunk.data(), static_cast<uint32_t>(chunk.size()));
    ASSERT_EQ(3u, hostCalls.size());
    EXPECT_EQ(127u, hostCalls[0].InputSize);
    EXPECT_EQ(127u, hostCalls[0].Input.find("\r\n") + 2);
}

TEST(PassThrough, RecognizerTable) {
    struct Case {
        const char* name;
        std::string input;
        bool wrapped;
    };
    const std::string padding(40, 'p');
    const Case cases[] = {
        {"languagelevel", PassThrough("/languagelevel where " + padding + " [" + Closing), true},
        {"0 GpPBeg", PassThrough("0 GpPBeg " + padding + "[" + Closing), true},
        {"brackets touching words", PassThrough("GpPBeg1 " + padding + "]ds imagemask grestore}for pop}for GSE\r\n"), true},
        {"trailing spaces only", PassThrough("GpPBeg1 " + padding + "[" + Closing + "  \r\n "), true},
        {"unknown beginning", PassThrough("gsave " + padding + "[" + Closing), false},
        {"beginning differs after its first character", PassThrough("userdict /Other " + padding + "[" + Closing), false},
        {"tab before the last token", PassThrough("GpPBeg1 " + padding + "] ds imagemask grestore } for pop } for\tGSE\n"), false},
        {"a token after the closing ones", PassThrough("GpPBeg1 " + padding + "[" + Closing + "x"), false},
        {"a token missing", PassThrough("GpPBeg1 " + padding + "] ds imagemask grestore } for } for GSE\n"), false},
        {"only the first ] counts", PassThrough("GpPBeg1 " + padding + "] x [" + Closing), false},
        {"below 50 bytes", PassThrough("GpPBeg1 [" + Closing.substr(0, Closing.size())).substr(0, 49), false},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        EscapeHarness harness;
        harness.Escape(19, test.input.data(), static_cast<uint32_t>(test.input.size()));
        EXPECT_EQ(test.wrapped ? 3u : 1u, hostCalls.size());
    }
}

TEST(PassThrough, CountLargerThanTheInputIsNeverFollowed) {
    EscapeHarness harness;
    std::string chunk = PassThrough("GpPBeg1 " + std::string(40, 'p') + "[" + Closing);
    chunk[0] = '\xFF';
    chunk[1] = '\x7F';
    // The declared size ends the data; a sanitizer run catches any read beyond it.
    std::vector<char> exact(chunk.begin(), chunk.end());
    harness.Escape(19, exact.data(), static_cast<uint32_t>(exact.size()));
    EXPECT_EQ(3u, hostCalls.size());
}

TEST(EscapeHook, NoDeviceStateAnswersZero) {
    RenderHarness harness;
    DRVENABLEDATA hooks{};
    harness.Plugin->EnableDriver(0x30100, sizeof hooks, &hooks);
    harness.Enable();  // no host function table
    SURFOBJ surface{};
    surface.dhpdev = &harness.Device;
    auto hook = reinterpret_cast<DrvEscapeFunction>(hooks.pdrvfn[1].pfn);
    EXPECT_EQ(0u, hook(&surface, 0x10002, 0, nullptr, 0, nullptr));
    EXPECT_EQ(0u, hook(nullptr, 0x10002, 0, nullptr, 0, nullptr));
    harness.Plugin->DisableDriver();
}

}  // namespace
