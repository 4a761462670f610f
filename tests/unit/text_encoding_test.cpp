// The one UTF-8/UTF-16 codec under both of its rules, and the texts the disc tool stores and shows.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "text_encoding.h"
#include "utf_codec.h"

namespace autorun {
namespace {

using namespace std::string_literals;

TEST(UtfCodec, ValidTextIsTheSameUnderBothRules) {
    const std::u16string texts[] = {u"", u"game.exe", u"\u00E9t\u00E9", u"\u76EE\u5F55", u"\U0001F3AE pad"};
    for (const auto& text : texts) {
        for (const InvalidText rule : {InvalidText::kKeep, InvalidText::kReplace}) {
            EXPECT_EQ(Utf16FromUtf8(Utf8FromUtf16(text, rule), rule), text);
        }
    }
    EXPECT_EQ(Utf8FromUtf16(u"\U0001F3AE", InvalidText::kReplace), "\xF0\x9F\x8E\xAE");
}

TEST(UtfCodec, KeepingRulesLetEveryUtf16NameComeBack) {
    const std::u16string names[] = {u"a\xD800", u"\xDC00z", u"\xDC00\xD800", u"\xD800\xD800\xDC00"};
    for (const auto& name : names)
        EXPECT_EQ(Utf16FromUtf8(Utf8FromUtf16(name, InvalidText::kKeep), InvalidText::kKeep), name);
    // A byte that starts no sequence stands for itself, as it did before the codec was shared.
    EXPECT_EQ(Utf16FromUtf8("\xE9t\xC3", InvalidText::kKeep), u"\u00E9t\u00C3");
    EXPECT_EQ(Utf16FromUtf8("\xF4\x90\x80\x80", InvalidText::kKeep), u"\u00F4\u0090\u0080\u0080");
}

TEST(UtfCodec, UnicodeRulesReplaceWhatIsNotText) {
    EXPECT_EQ(Utf8FromUtf16(u"a\xD800z", InvalidText::kReplace), "a?z");
    EXPECT_EQ(Utf8FromUtf16(u"\xDC00", InvalidText::kReplace), "?");
    // One U+FFFD for each maximal part of a bad sequence; the byte that broke it starts anew.
    EXPECT_EQ(Utf16FromUtf8("\xE2\x82"
                            "A",
                            InvalidText::kReplace),
              u"\uFFFDA");
    EXPECT_EQ(Utf16FromUtf8("\xC0\xAF", InvalidText::kReplace), u"\uFFFD\uFFFD");
    EXPECT_EQ(Utf16FromUtf8("\xED\xA0\x80", InvalidText::kReplace), u"\uFFFD");  // an encoded surrogate
    EXPECT_EQ(Utf16FromUtf8("\xF4\x90\x80\x80", InvalidText::kReplace), u"\uFFFD");
    EXPECT_EQ(Utf16FromUtf8("ab\xF0\x9F", InvalidText::kReplace), u"ab\uFFFD");
}

#ifndef _WIN32
TEST(AnsiText, DiscsMadeOnLinuxStoreWindows1252) {
    EXPECT_EQ(authoring::ToAnsi("caf\xC3\xA9 \xE2\x82\xAC"), "caf\xE9 \x80"s);
    EXPECT_FALSE(authoring::ToAnsi("\xE7\x9B\xAE"));  // not in the code page
    EXPECT_FALSE(authoring::ToAnsi("\xE9"));          // not UTF-8
    EXPECT_EQ(authoring::FromAnsi("caf\xE9 \x80\x81"), "caf\xC3\xA9 \xE2\x82\xAC?");
}
#else
// The tool's texts are UTF-8 on Windows too; the ANSI code page (Windows-1252 under the tests' Wine)
// only where a disc stores them.
TEST(AnsiText, DiscsMadeOnWindowsStoreTheAnsiCodePage) {
    EXPECT_EQ(authoring::ToAnsi("caf\xC3\xA9 \xE2\x82\xAC"), "caf\xE9 \x80"s);
    EXPECT_FALSE(authoring::ToAnsi("\xCE\x9A\xCF\x8C\xCF\x83\xCE\xBC\xCE\xBF\xCF\x82"));  // Greek
    EXPECT_EQ(authoring::FromAnsi("caf\xE9 \x80"), "caf\xC3\xA9 \xE2\x82\xAC");
    EXPECT_EQ(authoring::ToUtf16("caf\xC3\xA9"), u"caf\u00E9");
}

// libstdc++ reads a narrow string byte by byte, through the C runtime's locale: FilePath is the way in.
TEST(PathTextOnWindows, FilePathsHoldAnyNameAndComeBackAsTheyWere) {
    const std::string names[] = {"C:\\Spiele\\\xE2\x82\xAC uro",
                                 "D:\\\xCE\x9A\xCF\x8C\xCF\x83\xCE\xBC\xCE\xBF\xCF\x82/\xE7\x9B\xAE.iso",
                                 "lone\xED\xA0\x80"};
    for (const std::string& name : names) {
        const std::filesystem::path path = authoring::FilePath(name);
        EXPECT_EQ(authoring::FromUtf16(std::u16string(path.native().begin(), path.native().end())), name);
    }
    EXPECT_EQ(authoring::FilePath("\xE2\x82\xAC").native(), L"\u20AC");
    // What it saves us from: a narrow string goes through the C runtime's locale, byte by byte.
    EXPECT_NE(std::filesystem::path("\xE2\x82\xAC"s).native(), L"\u20AC");
    EXPECT_EQ(authoring::PathText(authoring::FilePath("a\\\xE7\x9B\xAE")), "a/\xE7\x9B\xAE");
}
#endif

}  // namespace
}  // namespace autorun
