#include "host/system/command_line.h"

#include <gtest/gtest.h>

namespace {

TEST(CommandLine, SplitsAsTheHostsProgramsDo) {
    struct Case {
        const char* name;
        const char16_t* line;
        std::vector<std::u16string> arguments;
    };
    const Case cases[] = {
        {"status program",
         uR"(C:\DRV\3\QVSTMON.EXE QV Office;Report ;drv;port;PP;)",
         {uR"(C:\DRV\3\QVSTMON.EXE)", u"QV", u"Office;Report", u";drv;port;PP;"}},
        {"quoted program with spaces",
         uR"("C:\Program Files\a.exe" x)",
         {uR"(C:\Program Files\a.exe)", u"x"}},
        {"program keeps backslashes before quotes", uR"(C:\a\"b c" d)", {uR"(C:\a\b c)", u"d"}},
        {"quoted argument", uR"(p "a b" c)", {u"p", u"a b", u"c"}},
        {"backslashes without a quote", uR"(p a\\b\c)", {u"p", uR"(a\\b\c)"}},
        {"escaped quote", uR"(p a\"b)", {u"p", uR"(a"b)"}},
        {"even backslashes then quote", uR"(p "a\\"b)", {u"p", uR"(a\b)"}},
        {"odd backslashes then quote", uR"(p a\\\"b)", {u"p", uR"(a\"b)"}},
        {"doubled quote inside quotes", uR"(p "a""b")", {u"p", uR"(a"b)"}},
        {"empty quoted argument", uR"(p "" x)", {u"p", u"", u"x"}},
        {"tabs and runs of spaces", u"  p\t a   b  ", {u"p", u"a", u"b"}},
        {"shell characters are plain text", u"p $(x) a|b;c", {u"p", u"$(x)", u"a|b;c"}},
        {"nothing", u"   ", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.arguments, host::SplitCommandLine(c.line));
    }
}

}  // namespace
