// PluginDevmode: the plug-in's part of every job's device mode. Its byte layout is a stored and
// exchanged format (device modes, spool data, escape replies, profiles), fixed to the last byte;
// every offset below is asserted.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qv::settings {

enum class OutputDestination : uint32_t {
    Printer = 0,
    File = 1,
    EpsFile = 2,
    Fax = 3,
    ConfidentialPrint = 4,
    ReservePrint = 5,
    RepeatPrint = 6,
    VerifyPrint = 7,
};

enum class WatermarkOrder : uint32_t {
    None = 0,
    AllPages = 1,
    OddEven = 2,
    FirstOther = 3,
};

struct WatermarkSpec {
    char16_t Name[128];
    char16_t Text[128];
    double Angle;
    uint32_t Color;
    char16_t FontFace[64];
    int32_t FontSize;
    uint32_t FontStyle;
    uint32_t Effects;
    uint16_t Intensity;
    uint8_t Padding1[2];
    uint32_t Position;
    uint8_t UnitsInches;
    uint8_t Padding2[7];
    double OffsetVertical;
    double OffsetHorizontal;
    uint32_t FontCharSet;
    uint32_t Dynamic;
};

struct FaxSettings {
    char16_t FaxNumber[128];
    char16_t FaxStationId[128];
    uint16_t FaxResolution;
    uint8_t Padding1[2];
    uint32_t FaxSendCoverPage;
    char16_t FaxRecipientName[128];
    char16_t FaxSenderName[128];
    char16_t FaxSenderCompany[128];
    char16_t FaxSenderAddress[256];
    char16_t FaxReservedText[256];
    char16_t FaxSenderFaxNumber[64];
    char16_t FaxSenderVoiceNumber[64];
    char16_t FaxSenderEmail[64];
    char16_t FaxNotes[1024];
    uint32_t FaxCoverSections;
};

struct ColorSettings {
    uint32_t ColorCorrection;
    uint32_t ManualColorRgbImage;
    uint32_t ManualColorRgbText;
    uint32_t ManualColorRgbGraphics;
    uint32_t ManualColorCmykImage;
    uint32_t ManualColorCmykText;
    uint32_t ManualColorCmykGraphics;
    uint32_t ColorBalanceEnabled;
    int32_t ColorBalanceCyan;
    int32_t ColorBalanceMagenta;
    int32_t ColorBalanceYellow;
    int32_t ColorBalanceBlack;
    uint32_t Tonerlite;
};

struct PluginDevmode {
    static constexpr uint32_t RecordSize = 7672;
    static constexpr uint32_t RecordSignature = 0x4C525651;  // "QVRL" in memory order
    static constexpr uint32_t RecordVersion = 10;

    uint32_t Size;
    uint32_t Signature;
    uint32_t Version;
    uint32_t WatermarksEnabled;
    uint32_t WatermarkOrder;
    uint32_t WatermarkOnTop;
    WatermarkSpec FirstWatermark;
    WatermarkSpec SecondWatermark;
    uint32_t Rotate180;
    uint32_t OutputDestination;
    uint16_t PageSizePolicy;
    char16_t OutputFileName[512];
    char16_t HoldUserName[25];
    char16_t HoldPin[5];
    uint8_t Padding1[2];
    uint32_t BlockAppPostScript;
    uint32_t ReservedFlag;
    uint32_t SendAccountNumber;
    char16_t AccountNumber[17];
    uint8_t Padding2[2];
    uint32_t SuppressSpoolOutput;
    FaxSettings Fax;
    ColorSettings Color;
    uint32_t KeepDuplicateHeldJobs;
    uint32_t PagesReordered;
    char16_t ProfileName[128];
    uint32_t ProfileNameSet;
    int32_t ImageBrightness;
    int32_t ImageContrast;
    int32_t ImageSaturation;
    uint32_t QualityColorCorrection;
    uint32_t LineDetail;
    uint32_t PrintQualitySupported;
};

#define QV_ASSERT_OFFSET(record, field, offset) \
    static_assert(offsetof(record, field) == (offset), #record "." #field " moved")

static_assert(sizeof(WatermarkSpec) == 704);
QV_ASSERT_OFFSET(WatermarkSpec, Name, 0);
QV_ASSERT_OFFSET(WatermarkSpec, Text, 256);
QV_ASSERT_OFFSET(WatermarkSpec, Angle, 512);
QV_ASSERT_OFFSET(WatermarkSpec, Color, 520);
QV_ASSERT_OFFSET(WatermarkSpec, FontFace, 524);
QV_ASSERT_OFFSET(WatermarkSpec, FontSize, 652);
QV_ASSERT_OFFSET(WatermarkSpec, FontStyle, 656);
QV_ASSERT_OFFSET(WatermarkSpec, Effects, 660);
QV_ASSERT_OFFSET(WatermarkSpec, Intensity, 664);
QV_ASSERT_OFFSET(WatermarkSpec, Padding1, 666);
QV_ASSERT_OFFSET(WatermarkSpec, Position, 668);
QV_ASSERT_OFFSET(WatermarkSpec, UnitsInches, 672);
QV_ASSERT_OFFSET(WatermarkSpec, Padding2, 673);
QV_ASSERT_OFFSET(WatermarkSpec, OffsetVertical, 680);
QV_ASSERT_OFFSET(WatermarkSpec, OffsetHorizontal, 688);
QV_ASSERT_OFFSET(WatermarkSpec, FontCharSet, 696);
QV_ASSERT_OFFSET(WatermarkSpec, Dynamic, 700);

static_assert(sizeof(FaxSettings) == 4748);
QV_ASSERT_OFFSET(FaxSettings, FaxNumber, 0);
QV_ASSERT_OFFSET(FaxSettings, FaxStationId, 256);
QV_ASSERT_OFFSET(FaxSettings, FaxResolution, 512);
QV_ASSERT_OFFSET(FaxSettings, Padding1, 514);
QV_ASSERT_OFFSET(FaxSettings, FaxSendCoverPage, 516);
QV_ASSERT_OFFSET(FaxSettings, FaxRecipientName, 520);
QV_ASSERT_OFFSET(FaxSettings, FaxSenderName, 776);
QV_ASSERT_OFFSET(FaxSettings, FaxSenderCompany, 1032);
QV_ASSERT_OFFSET(FaxSettings, FaxSenderAddress, 1288);
QV_ASSERT_OFFSET(FaxSettings, FaxReservedText, 1800);
QV_ASSERT_OFFSET(FaxSettings, FaxSenderFaxNumber, 2312);
QV_ASSERT_OFFSET(FaxSettings, FaxSenderVoiceNumber, 2440);
QV_ASSERT_OFFSET(FaxSettings, FaxSenderEmail, 2568);
QV_ASSERT_OFFSET(FaxSettings, FaxNotes, 2696);
QV_ASSERT_OFFSET(FaxSettings, FaxCoverSections, 4744);

static_assert(sizeof(ColorSettings) == 52);
QV_ASSERT_OFFSET(ColorSettings, ColorCorrection, 0);
QV_ASSERT_OFFSET(ColorSettings, ManualColorRgbImage, 4);
QV_ASSERT_OFFSET(ColorSettings, ManualColorRgbText, 8);
QV_ASSERT_OFFSET(ColorSettings, ManualColorRgbGraphics, 12);
QV_ASSERT_OFFSET(ColorSettings, ManualColorCmykImage, 16);
QV_ASSERT_OFFSET(ColorSettings, ManualColorCmykText, 20);
QV_ASSERT_OFFSET(ColorSettings, ManualColorCmykGraphics, 24);
QV_ASSERT_OFFSET(ColorSettings, ColorBalanceEnabled, 28);
QV_ASSERT_OFFSET(ColorSettings, ColorBalanceCyan, 32);
QV_ASSERT_OFFSET(ColorSettings, ColorBalanceMagenta, 36);
QV_ASSERT_OFFSET(ColorSettings, ColorBalanceYellow, 40);
QV_ASSERT_OFFSET(ColorSettings, ColorBalanceBlack, 44);
QV_ASSERT_OFFSET(ColorSettings, Tonerlite, 48);

static_assert(sizeof(PluginDevmode) == PluginDevmode::RecordSize);
QV_ASSERT_OFFSET(PluginDevmode, Size, 0);
QV_ASSERT_OFFSET(PluginDevmode, Signature, 4);
QV_ASSERT_OFFSET(PluginDevmode, Version, 8);
QV_ASSERT_OFFSET(PluginDevmode, WatermarksEnabled, 12);
QV_ASSERT_OFFSET(PluginDevmode, WatermarkOrder, 16);
QV_ASSERT_OFFSET(PluginDevmode, WatermarkOnTop, 20);
QV_ASSERT_OFFSET(PluginDevmode, FirstWatermark, 24);
QV_ASSERT_OFFSET(PluginDevmode, SecondWatermark, 728);
QV_ASSERT_OFFSET(PluginDevmode, Rotate180, 1432);
QV_ASSERT_OFFSET(PluginDevmode, OutputDestination, 1436);
QV_ASSERT_OFFSET(PluginDevmode, PageSizePolicy, 1440);
QV_ASSERT_OFFSET(PluginDevmode, OutputFileName, 1442);
QV_ASSERT_OFFSET(PluginDevmode, HoldUserName, 2466);
QV_ASSERT_OFFSET(PluginDevmode, HoldPin, 2516);
QV_ASSERT_OFFSET(PluginDevmode, Padding1, 2526);
QV_ASSERT_OFFSET(PluginDevmode, BlockAppPostScript, 2528);
QV_ASSERT_OFFSET(PluginDevmode, ReservedFlag, 2532);
QV_ASSERT_OFFSET(PluginDevmode, SendAccountNumber, 2536);
QV_ASSERT_OFFSET(PluginDevmode, AccountNumber, 2540);
QV_ASSERT_OFFSET(PluginDevmode, Padding2, 2574);
QV_ASSERT_OFFSET(PluginDevmode, SuppressSpoolOutput, 2576);
QV_ASSERT_OFFSET(PluginDevmode, Fax, 2580);
QV_ASSERT_OFFSET(PluginDevmode, Color, 7328);
QV_ASSERT_OFFSET(PluginDevmode, KeepDuplicateHeldJobs, 7380);
QV_ASSERT_OFFSET(PluginDevmode, PagesReordered, 7384);
QV_ASSERT_OFFSET(PluginDevmode, ProfileName, 7388);
QV_ASSERT_OFFSET(PluginDevmode, ProfileNameSet, 7644);
QV_ASSERT_OFFSET(PluginDevmode, ImageBrightness, 7648);
QV_ASSERT_OFFSET(PluginDevmode, ImageContrast, 7652);
QV_ASSERT_OFFSET(PluginDevmode, ImageSaturation, 7656);
QV_ASSERT_OFFSET(PluginDevmode, QualityColorCorrection, 7660);
QV_ASSERT_OFFSET(PluginDevmode, LineDetail, 7664);
QV_ASSERT_OFFSET(PluginDevmode, PrintQualitySupported, 7668);

#undef QV_ASSERT_OFFSET

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "the record is stored little-endian");

}  // namespace qv::settings
