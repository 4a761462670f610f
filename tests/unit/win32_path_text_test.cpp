// Paths between the launcher's 8-bit text and Windows' UTF-16: every name, even one with an
// unpaired surrogate, must come back as it was, and the game's command line must hold it whole.
#include <gtest/gtest.h>

#include <string>

#include "win32_path_text.h"
#include "win32_process_start.h"

namespace autorun {
namespace {

TEST(PathText, EncodesAsUtf8) {
    EXPECT_EQ(PathTextFromUtf16(L"C:\\Games\\a.exe"), "C:\\Games\\a.exe");
    EXPECT_EQ(PathTextFromUtf16(L"\u00E9"), "\xC3\xA9");
    EXPECT_EQ(PathTextFromUtf16(L"\u76EE"), "\xE7\x9B\xAE");
    EXPECT_EQ(PathTextFromUtf16(L"\xD83C\xDFAE"), "\xF0\x9F\x8E\xAE");  // a pair is one code point
}

TEST(PathText, EveryUtf16PathSurvivesTheRoundTrip) {
    const std::wstring paths[] = {
        L"",
        L"D:\\SETUP\\AUTORUN.EXE",
        L"C:\\\u0414\u0438\u0441\u043A \u76EE\u5F55\\game.exe",
        L"C:\\\xD83C\xDFAE\\x",
        L"C:\\lone\xD800high",
        L"C:\\lone\xDC00low",
        L"C:\\\xDC00\xD800reversed",
        L"\xD800",
    };
    for (const auto& path : paths) EXPECT_EQ(Utf16FromPathText(PathTextFromUtf16(path)), path);
}

TEST(QuotedCommandLine, QuotesThePathSoSpacesDontSplitIt) {
    EXPECT_EQ(QuotedCommandLine(L"C:\\Program Files\\My Game\\game.exe"),
              L"\"C:\\Program Files\\My Game\\game.exe\"");
}

}  // namespace
}  // namespace autorun
