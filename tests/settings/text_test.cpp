#include "settings/text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace qv::settings;

TEST(Text, CopyTruncatesAndAlwaysTerminates) {
    struct Case {
        std::u16string source;
        bool fits;
        std::u16string stored;
    };
    const Case cases[] = {
        {u"", true, u""},
        {u"abcd", true, u"abcd"},
        {u"abcde", false, u"abcd"},
        {u"宋体宋体宋体", false, u"宋体宋体"},
    };
    for (const Case& test : cases) {
        char16_t buffer[5];
        std::fill(std::begin(buffer), std::end(buffer), u'#');
        EXPECT_EQ(test.fits, CopyText(buffer, test.source));
        EXPECT_EQ(test.stored, TextView(buffer));
        EXPECT_EQ(u'\0', buffer[test.stored.size()]);
    }
    char16_t none[1] = {u'#'};
    EXPECT_FALSE(CopyText(none, 0, u"a"));
    EXPECT_EQ(u'#', none[0]);
}

TEST(Text, AppendStaysWithinCapacity) {
    char16_t buffer[6] = u"ab";
    EXPECT_TRUE(AppendText(buffer, u"cd"));
    EXPECT_EQ(u"abcd", TextView(buffer));
    EXPECT_FALSE(AppendText(buffer, u"efg"));
    EXPECT_EQ(u"abcde", TextView(buffer));
    EXPECT_FALSE(AppendText(buffer, u"z"));
    EXPECT_EQ(u"abcde", TextView(buffer));

    // An unterminated array is treated as full, never read past.
    char16_t full[3] = {u'x', u'y', u'z'};
    EXPECT_FALSE(AppendText(full, u"q"));
    EXPECT_EQ(u"xy", TextView(full));
}

TEST(Text, LengthStopsAtCapacity) {
    const char16_t unterminated[4] = {u'a', u'b', u'c', u'd'};
    EXPECT_EQ(4u, TextLength(unterminated));
    EXPECT_EQ(2u, TextLength(unterminated, 2));
    EXPECT_EQ(0u, TextLength(nullptr, 10));
    char16_t text[4] = {u'a', u'b', u'c', u'd'};
    TerminateText(text);
    EXPECT_EQ(u"abc", TextView(text));
}

TEST(Text, ComparesWithoutRegardToCase) {
    EXPECT_TRUE(TextEqualsNoCase(u"Confidential", u"cONFIDENTIAL"));
    EXPECT_TRUE(TextEqualsNoCase(u"ÄRGER Ωmega", u"ärger ωMEGA"));
    EXPECT_TRUE(TextEqualsNoCase(u"草稿", u"草稿"));
    EXPECT_TRUE(TextEqualsNoCase(u"", u""));
    EXPECT_FALSE(TextEqualsNoCase(u"Draft", u"Drafts"));
    EXPECT_FALSE(TextEqualsNoCase(u"Draft", u"Drafu"));
}

}  // namespace
