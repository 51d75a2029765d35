// The host's public device mode: the 220-byte part of every device mode that the host itself
// defines, which the plug-in record follows directly.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform {

struct DEVMODEW {
    char16_t dmDeviceName[32];
    uint16_t dmSpecVersion;
    uint16_t dmDriverVersion;
    uint16_t dmSize;
    uint16_t dmDriverExtra;  // bytes of the plug-in records behind this part
    uint32_t dmFields;
    int16_t dmOrientation;
    int16_t dmPaperSize;
    int16_t dmPaperLength;
    int16_t dmPaperWidth;
    int16_t dmScale;
    int16_t dmCopies;
    int16_t dmDefaultSource;
    int16_t dmPrintQuality;
    int16_t dmColor;
    int16_t dmDuplex;
    int16_t dmYResolution;
    int16_t dmTTOption;
    int16_t dmCollate;
    char16_t dmFormName[32];
    uint16_t dmLogPixels;
    uint32_t dmBitsPerPel;
    uint32_t dmPelsWidth;
    uint32_t dmPelsHeight;
    uint32_t dmNup;
    uint32_t dmDisplayFrequency;
    uint32_t dmICMMethod;
    uint32_t dmICMIntent;
    uint32_t dmMediaType;
    uint32_t dmDitherType;
    uint32_t dmReserved1;
    uint32_t dmReserved2;
    uint32_t dmPanningWidth;
    uint32_t dmPanningHeight;
};
static_assert(sizeof(DEVMODEW) == 220);
static_assert(offsetof(DEVMODEW, dmFields) == 72);
static_assert(offsetof(DEVMODEW, dmOrientation) == 76);
static_assert(offsetof(DEVMODEW, dmCopies) == 86);
static_assert(offsetof(DEVMODEW, dmColor) == 92);
static_assert(offsetof(DEVMODEW, dmDuplex) == 94);
static_assert(offsetof(DEVMODEW, dmFormName) == 102);
static_assert(offsetof(DEVMODEW, dmLogPixels) == 166);
static_assert(offsetof(DEVMODEW, dmBitsPerPel) == 168);

constexpr uint16_t DM_SPECVERSION = 0x0401;

constexpr uint32_t DM_ORIENTATION = 0x00000001;
constexpr uint32_t DM_PAPERSIZE = 0x00000002;
constexpr uint32_t DM_COPIES = 0x00000100;
constexpr uint32_t DM_COLOR = 0x00000800;
constexpr uint32_t DM_DUPLEX = 0x00001000;

constexpr int16_t DMORIENT_PORTRAIT = 1;
constexpr int16_t DMORIENT_LANDSCAPE = 2;
constexpr int16_t DMCOLOR_MONOCHROME = 1;
constexpr int16_t DMCOLOR_COLOR = 2;
constexpr int16_t DMDUP_SIMPLEX = 1;
constexpr int16_t DMDUP_VERTICAL = 2;
constexpr int16_t DMDUP_HORIZONTAL = 3;
constexpr int16_t DMPAPER_LETTER = 1;
constexpr int16_t DMPAPER_A4 = 9;

}  // namespace platform
