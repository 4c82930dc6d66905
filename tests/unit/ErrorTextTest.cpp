// The texts of the default error display: the full stop after a message and the caption taken
// from the executable's name.
#include "rtl/ErrorText.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(MessageForDisplay, AppendsAFullStopAfterCharactersSortingAfterIt) {
    const struct {
        std::string message;
        std::string expected;
    } cases[] = {
        {"", ""},
        {"Invalid argument to date encode", "Invalid argument to date encode."},
        {"Done.", "Done."},            // ends with the full stop itself
        {"Wow!", "Wow!"},              // '!' (0x21) sorts before '.'
        {"a-", "a-"},                  // '-' (0x2D), just before '.'
        {"a/", "a/."},                 // '/' (0x2F), just after '.'
        {"code 10054", "code 10054."}, // digits sort after '.'
        {"trailing space ", "trailing space "},
        {"Socket Error # 10061\r\nConnection refused",
         "Socket Error # 10061\r\nConnection refused."},
        {"'x' is not a valid date and time", "'x' is not a valid date and time."},
        {"时间错误", "时间错误."},         // a multi-byte character counts as after '.'
        {"\xE3\x80\x82", "\xE3\x80\x82."}, // even the ideographic full stop
    };
    for (const auto& c : cases) {
        EXPECT_EQ(rtl::MessageForDisplay(c.message), c.expected) << c.message;
    }
}

TEST(ApplicationTitleFromExeName, IsTheFileNameUpToItsFirstDot) {
    const struct {
        std::string path;
        std::string expected;
    } cases[] = {
        {"C:\\dir\\TimeTool.exe", "Timetool"},
        {"A.B.C.exe", "A"},
        {"a.b.c.exe", "a"}, // the first character is never raised either
        {"x/Project1.EXE", "Project1"},
        {"C:\\dir.with.dots\\App.exe", "App"}, // dots in the directory do not count
        {"C:\\one/two\\ABC.EXE", "Abc"},       // either separator
        {"/opt/bin/aBC.exe", "abc"},           // the first character is kept as it is
        {"TIMETOOL", "Timetool"},              // no directory, no extension
        {"C:\\dir\\.hidden", ""},
        {"C:\\dir\\", ""},
        {"", ""},
        {"D:\\工具\\时间工具.exe", "时间工具"}, // non-ASCII names pass unchanged
        {"D:\\Z时间A.exe", "Z时间a"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(rtl::ApplicationTitleFromExeName(c.path), c.expected) << c.path;
    }
}

} // namespace
