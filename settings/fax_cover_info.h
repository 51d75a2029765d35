// FaxCoverInfo: the cover-page part of FaxSettings, from FaxSenderName to FaxCoverSections, in
// the block's own layout, so the part is copied between a block and a scratch copy byte for byte.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "settings/plugin_devmode.h"

namespace qv::settings {

// Bit values of FaxCoverSections.
inline constexpr uint32_t CoverRecipientSection = 1;
inline constexpr uint32_t CoverSenderSection = 2;
inline constexpr uint32_t CoverNotesSection = 4;
inline constexpr uint32_t CoverAllSections = 7;

struct FaxCoverInfo {
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

inline constexpr size_t CoverPartOffset = offsetof(FaxSettings, FaxSenderName);
static_assert(sizeof(FaxCoverInfo) == sizeof(FaxSettings) - CoverPartOffset);
#define QV_ASSERT_COVER_FIELD(field) \
    static_assert(offsetof(FaxCoverInfo, field) + CoverPartOffset == offsetof(FaxSettings, field))
QV_ASSERT_COVER_FIELD(FaxSenderCompany);
QV_ASSERT_COVER_FIELD(FaxSenderAddress);
QV_ASSERT_COVER_FIELD(FaxReservedText);
QV_ASSERT_COVER_FIELD(FaxSenderFaxNumber);
QV_ASSERT_COVER_FIELD(FaxSenderVoiceNumber);
QV_ASSERT_COVER_FIELD(FaxSenderEmail);
QV_ASSERT_COVER_FIELD(FaxNotes);
QV_ASSERT_COVER_FIELD(FaxCoverSections);
#undef QV_ASSERT_COVER_FIELD

inline void CopyCoverPart(const FaxSettings& fax, FaxCoverInfo& cover) {
    std::memcpy(&cover, reinterpret_cast<const uint8_t*>(&fax) + CoverPartOffset, sizeof cover);
}
inline void CopyCoverPart(const FaxCoverInfo& cover, FaxSettings& fax) {
    std::memcpy(reinterpret_cast<uint8_t*>(&fax) + CoverPartOffset, &cover, sizeof cover);
}

}  // namespace qv::settings
