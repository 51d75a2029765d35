#include "host/system/code_pages.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/system.h"
#include "tests/host/system/machine_fixture.h"

namespace {

using namespace platform;

class CodePages : public testing_support::MachineTest {};

TEST_F(CodePages, ConvertsToTheNamedCodePagesWithTheirDefaultCharacter) {
    struct Case {
        const char* name;
        uint16_t language;
        uint32_t codePage;
        const char16_t* text;
        const char* defaultChar;
        std::string bytes;
        bool usedDefault;
    };
    const Case cases[] = {
        {"850 with a euro it lacks", 2052, 850, u"Ärger €", nullptr,
         "\x8E"
         "rger ?",
         true},
        {"850 with a given default", 2052, 850, u"中文", "*", "**", true},
        {"28592 Polish", 2052, 28592, u"Łódź", nullptr,
         "\xA3\xF3"
         "d\xBC",
         false},
        {"28595 Russian", 2052, 28595, u"Привет", nullptr, "\xBF\xE0\xD8\xD2\xD5\xE2", false},
        {"ANSI of a Polish machine", 1045, CP_ACP, u"Łódź", nullptr,
         "\xA3\xF3"
         "d\xBC",
         false},
        {"ANSI of a Russian machine", 1049, CP_ACP, u"Привет", nullptr, "\xBF\xE0\xD8\xD2\xD5\xE2",
         false},
        {"ANSI of a Chinese machine is 850", 2052, CP_ACP, u"é中", nullptr, "\x82?", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string error;
        ASSERT_TRUE(host::SetDefaultLanguage(c.language, error)) << error;
        const int32_t needed =
            WideCharToMultiByte(c.codePage, 0, c.text, -1, nullptr, 0, c.defaultChar, nullptr);
        ASSERT_EQ(static_cast<int32_t>(c.bytes.size() + 1), needed) << "terminator counted";
        std::string buffer(static_cast<size_t>(needed), 'x');
        BOOL usedDefault = 7;
        ASSERT_EQ(needed, WideCharToMultiByte(c.codePage, 0, c.text, -1, buffer.data(), needed,
                                              c.defaultChar, &usedDefault));
        EXPECT_EQ(c.bytes + '\0', buffer);
        EXPECT_EQ(c.usedDefault ? TRUE : FALSE, usedDefault);
        if (!c.usedDefault) {
            std::u16string back(static_cast<size_t>(needed), u'x');
            ASSERT_EQ(needed,
                      MultiByteToWideChar(c.codePage, 0, buffer.c_str(), -1, back.data(), needed));
            EXPECT_EQ(std::u16string(c.text) + u'\0', back);
        }
    }
}

TEST_F(CodePages, FollowsTheHostsSizeAndParameterRules) {
    char buffer[8] = {};
    struct Case {
        const char* name;
        uint32_t codePage;
        const char16_t* text;
        int32_t length;
        int32_t capacity;
        const char* defaultChar;
        int32_t result;
        uint32_t error;
    };
    const Case cases[] = {
        {"counted length has no terminator", 850, u"abc", 3, 8, nullptr, 3, 0},
        {"size query", 850, u"abcdef", -1, 0, nullptr, 7, 0},
        {"buffer too small", 850, u"abcdefghij", -1, 8, nullptr, 0, ERROR_INSUFFICIENT_BUFFER},
        {"UTF-8 takes no default character", CP_UTF8, u"a", -1, 8, "?", 0, ERROR_INVALID_PARAMETER},
        {"UTF-8 multi-byte", CP_UTF8, u"中", -1, 8, nullptr, 4, 0},
        {"unknown code page", 12345, u"a", -1, 8, nullptr, 0, ERROR_INVALID_PARAMETER},
        {"empty counted text", 850, u"a", 0, 8, nullptr, 0, ERROR_INVALID_PARAMETER},
        {"no text", 850, nullptr, -1, 8, nullptr, 0, ERROR_INVALID_PARAMETER},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetLastError(0);
        EXPECT_EQ(c.result, WideCharToMultiByte(c.codePage, 0, c.text, c.length, buffer, c.capacity,
                                                c.defaultChar, nullptr));
        EXPECT_EQ(c.error, GetLastError());
    }
}

TEST_F(CodePages, UpperCasesAnsiTextInPlace) {
    std::string error;
    ASSERT_TRUE(host::SetDefaultLanguage(2052, error));
    char text[] = "qv9000z \x82t\x82";  // "été" in code page 850
    EXPECT_EQ(text, CharUpperA(text));
    EXPECT_STREQ("QV9000Z \x90T\x90", text);
    ASSERT_TRUE(host::SetDefaultLanguage(1049, error));
    char russian[] = "\xD0\xEF";  // "ая" in ISO 8859-5
    CharUpperA(russian);
    EXPECT_STREQ("\xB0\xCF", russian);
    EXPECT_EQ(nullptr, CharUpperA(nullptr));
}

}  // namespace
