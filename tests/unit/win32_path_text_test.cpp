// Paths between the launcher's 8-bit text and Windows' UTF-16: every name, even one with an
// unpaired surrogate, must come back as it was, and the game's command line must hold it whole.
#include <gtest/gtest.h>

#include <string>

#include "win32_long_path.h"
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

TEST(PathText, ArgumentsComeThroughWhateverTheAnsiCodePageHolds) {
    wchar_t program[] = L"tool.exe", greek[] = L"\u039A\u03CC\u03C3\u03BC\u03BF\u03C2.iso",
            lone[] = L"a\xD800";
    wchar_t* argv[] = {program, greek, lone};
    EXPECT_EQ(
        PathTextArguments(3, argv),
        (std::vector<std::string>{"\xCE\x9A\xCF\x8C\xCF\x83\xCE\xBC\xCE\xBF\xCF\x82.iso", "a\xED\xA0\x80"}));
}

// Past MAX_PATH Windows' file calls take only the \\?\ form, which they pass on untouched.
TEST(LongPath, TheExtendedFormKeepsDrivesAndShares) {
    EXPECT_EQ(ExtendedLengthForm(L"C:\\Games\\x.iso"), L"\\\\?\\C:\\Games\\x.iso");
    EXPECT_EQ(ExtendedLengthForm(L"\\\\server\\share\\x.iso"), L"\\\\?\\UNC\\server\\share\\x.iso");
    EXPECT_EQ(ExtendedLengthForm(L"\\\\?\\C:\\x"), L"\\\\?\\C:\\x");
    EXPECT_EQ(ExtendedLengthForm(L"\\\\?\\UNC\\server\\share"), L"\\\\?\\UNC\\server\\share");
    EXPECT_EQ(ExtendedLengthForm(L"\\\\.\\CdRom0"), L"\\\\.\\CdRom0");
}

TEST(LongPath, OnlyLongPathsChangeAndThenBecomeWhole) {
    EXPECT_EQ(ExtendedLengthPath(L"out/disc.iso"), L"out/disc.iso");  // short: as given
    EXPECT_EQ(ExtendedLengthPath(L""), L"");
    const std::wstring deep = std::wstring(150, L'a') + L"/" + std::wstring(150, L'b') + L"/./x.iso";
    const std::wstring extended = ExtendedLengthPath(deep);
    EXPECT_EQ(extended.substr(0, 4), L"\\\\?\\");
    EXPECT_EQ(extended.find(L'/'), std::wstring::npos);
    EXPECT_EQ(extended.find(L"\\.\\"), std::wstring::npos);
    EXPECT_EQ(extended.substr(extended.size() - 157), L"\\" + std::wstring(150, L'b') + L"\\x.iso");
    EXPECT_EQ(extended.substr(4), FullPath(deep));
    EXPECT_EQ(ExtendedLengthPath(L"\\\\server\\share\\" + std::wstring(250, L'c')),
              L"\\\\?\\UNC\\server\\share\\" + std::wstring(250, L'c'));
    EXPECT_EQ(ExtendedLengthPath(extended), extended);  // already whole
}

TEST(QuotedCommandLine, QuotesThePathSoSpacesDontSplitIt) {
    EXPECT_EQ(QuotedCommandLine(L"C:\\Program Files\\My Game\\game.exe"),
              L"\"C:\\Program Files\\My Game\\game.exe\"");
}

}  // namespace
}  // namespace autorun
