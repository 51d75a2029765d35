// Texts of settings records as JSON strings: whatever the record holds, the output parses back
// to the same text (or U+FFFD where the bytes were not UTF-8).
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "host/psdriver/record_text.h"

namespace {

TEST(RecordText, AnyTextBecomesAValidJsonString) {
    struct Case {
        const char* Name;
        std::string Text;
        std::string Back;
    };
    const Case cases[] = {
        {"quotes and backslashes", "a\"b\\c", "a\"b\\c"},
        {"control characters", std::string("line\nnext\ttab\x01\x1f", 15),
         std::string("line\nnext\ttab\x01\x1f", 15)},
        {"Chinese", "传真号码", "传真号码"},
        {"a lone continuation byte", "a\x80z", "a\xEF\xBF\xBDz"},
        {"a cut-off sequence", "\xE4\xB8", "\xEF\xBF\xBD"},
        {"an encoded surrogate", "\xED\xA0\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const std::string json = host::JsonString(c.Text);
        const nlohmann::json parsed = nlohmann::json::parse(json, nullptr, false);
        ASSERT_TRUE(parsed.is_string()) << json;
        EXPECT_EQ(parsed.get<std::string>(), c.Back);
    }
    EXPECT_EQ(host::JsonString("plain"), "\"plain\"");
}

}  // namespace
