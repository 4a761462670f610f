// The stand-ins for what MinGW lacks and libisofs calls: iconv with POSIX's error contract, which
// decides the ISO 9660 and Joliet names of a Windows-made image, fnmatch, the link calls and threads.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "libisofs_compat_threads_probe.h"
#include "posix_compat.h"
#include "win32/libisofs_compat/include/fnmatch.h"
#include "win32/libisofs_compat/include/iconv.h"

namespace {

struct Converted {
    std::string out;
    std::size_t result;
    int error;
    std::size_t inLeft;  // input bytes not converted
};

Converted Convert(const char* to, const char* from, const std::string& in, std::size_t outSize = 64) {
    const iconv_t conversion = iconv_open(to, from);
    EXPECT_NE(conversion, reinterpret_cast<iconv_t>(-1)) << from << " to " << to;
    std::string out(outSize, '\0');
    const char* inAt = in.data();
    std::size_t inLeft = in.size();
    char* outAt = out.data();
    std::size_t outLeft = out.size();
    errno = 0;
    const std::size_t result = iconv(conversion, &inAt, &inLeft, &outAt, &outLeft);
    const int error = errno;
    iconv_close(conversion);
    out.resize(out.size() - outLeft);
    return {out, result, result == static_cast<std::size_t>(-1) ? error : 0, inLeft};
}

// What libisofs's str2ascii and str2ucs do: UTF-8 to WCHAR_T, then to the target with "_" (in the
// target's width) for each character it lacks, stepping over one wchar_t.
std::string ThroughWideChars(const char* to, const std::string& utf8, const std::string& underscore) {
    const Converted wide = Convert("WCHAR_T", "UTF-8", utf8, 256);
    EXPECT_EQ(wide.error, 0);
    const iconv_t conversion = iconv_open(to, "WCHAR_T");
    std::string out(256, '\0');
    const char* inAt = wide.out.data();
    std::size_t inLeft = wide.out.size();
    char* outAt = out.data();
    std::size_t outLeft = out.size();
    while (iconv(conversion, &inAt, &inLeft, &outAt, &outLeft) == static_cast<std::size_t>(-1)) {
        EXPECT_EQ(errno, EILSEQ);
        for (char c : underscore) *outAt++ = c, --outLeft;
        inAt += sizeof(wchar_t), inLeft -= sizeof(wchar_t);
        if (inLeft == 0) break;
    }
    iconv_close(conversion);
    out.resize(out.size() - outLeft);
    return out;
}

TEST(IconvAdapter, ConvertsUtf8ToJolietsUcs2AndBack) {
    const std::string utf8 = "Caf\xC3\xA9 \xD0\x9C\xD0\xB8\xD1\x80.txt";  // Café Мир.txt
    const Converted ucs2 = Convert("UCS-2BE", "UTF-8", utf8);
    ASSERT_EQ(ucs2.error, 0);
    EXPECT_EQ(ucs2.out, std::string("\0C\0a\0f\0\xE9\0 \x04\x1C\x04\x38\x04\x40\0.\0t\0x\0t", 24));
    EXPECT_EQ(Convert("UTF-8", "UCS-2BE", ucs2.out).out, utf8);
    EXPECT_EQ(Convert("UTF-8", "UTF-16BE", Convert("UTF-16BE", "utf8", utf8).out).out, utf8);
}

TEST(IconvAdapter, Utf16KeepsCharactersPastTheBasicPlaneWhichUcs2Refuses) {
    const std::string gamepad = "\xF0\x9F\x8E\xAE";
    EXPECT_EQ(Convert("UTF-16BE", "UTF-8", gamepad).out, "\xD8\x3C\xDF\xAE");
    EXPECT_EQ(Convert("WCHAR_T", "UTF-8", gamepad).out, "\x3C\xD8\xAE\xDF");
    const Converted ucs2 = Convert("UCS-2BE", "UTF-8", "a" + gamepad);
    EXPECT_EQ(ucs2.error, EILSEQ);
    EXPECT_EQ(ucs2.out, std::string("\0a", 2));  // stops before the character, the pointers on it
    EXPECT_EQ(ucs2.inLeft, 4u);
}

TEST(IconvAdapter, NamesGetOneUnderscorePerCharacterAsWithLinuxWideChars) {
    // On Linux a wchar_t holds any character; here one past U+FFFF takes two, yet it is still one "_".
    const std::string name =
        "A\xC3\xA9\xF0\x9F\x8E\xAE"
        "b";  // Aé🎮b
    EXPECT_EQ(ThroughWideChars("ASCII", name, "_"), "A__b");
    EXPECT_EQ(ThroughWideChars("UCS-2BE", name, std::string("\0_", 2)), std::string("\0A\0\xE9\0_\0b", 8));
}

TEST(IconvAdapter, ReportsErrorsAtTheFirstCharacterNotConvertedWhole) {
    const Converted ascii = Convert("ASCII", "UTF-8", "ab\xC3\xA9");
    EXPECT_EQ(ascii.error, EILSEQ);
    EXPECT_EQ(ascii.out, "ab");
    EXPECT_EQ(ascii.inLeft, 2u);
    const Converted incomplete = Convert("UCS-2BE", "UTF-8", "a\xE2\x82");
    EXPECT_EQ(incomplete.error, EINVAL);
    EXPECT_EQ(incomplete.inLeft, 2u);
    const Converted full = Convert("UCS-2BE", "UTF-8", "abc", 5);
    EXPECT_EQ(full.error, E2BIG);
    EXPECT_EQ(full.out.size(), 4u);  // two whole characters, never half of the third
    EXPECT_EQ(full.inLeft, 1u);
    EXPECT_EQ(Convert("UTF-8", "UTF-16BE", std::string("\xDC\x00", 2)).error, EILSEQ);  // a lone low half
    EXPECT_EQ(Convert("UTF-8", "UTF-16BE", std::string("\xD8\x3C", 2)).error,
              EINVAL);  // a high half at the end
    EXPECT_EQ(Convert("UTF-8", "UCS-2BE", std::string("\xD8\x3C\xDF\xAE", 4)).error, EILSEQ);
}

TEST(IconvAdapter, RefusesMalformedUtf8) {
    for (const std::string bad :
         {"\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\x80", "\xC3("}) {
        const Converted converted = Convert("UCS-2BE", "UTF-8", "x" + bad);
        EXPECT_EQ(converted.error, EILSEQ) << "byte " << int(static_cast<unsigned char>(bad[0]));
        EXPECT_EQ(converted.inLeft, bad.size());
    }
}

TEST(IconvAdapter, RefusesUnknownCharacterSets) {
    errno = 0;
    EXPECT_EQ(iconv_open("EBCDIC-US", "UTF-8"), reinterpret_cast<iconv_t>(-1));
    EXPECT_EQ(errno, EINVAL);
    EXPECT_EQ(iconv_open("UTF-8", "ISO-8859-99"), reinterpret_cast<iconv_t>(-1));
}

TEST(FnmatchStandIn, MatchesShellWildcards) {
    struct Case {
        const char* pattern;
        const char* text;
        int flags;
        bool matches;
    } cases[] = {
        {"*.txt", "read me.txt", 0, true},
        {"*.txt", "a.txt.bak", 0, false},
        {"data/*", "data/x/y", 0, true},
        {"data/*", "data/x/y", FNM_PATHNAME, false},
        {"*/y", "x/y", FNM_PATHNAME, true},
        {"?", "/", FNM_PATHNAME, false},
        {"l?vel[0-9].pak", "level7.pak", 0, true},
        {"level[!0-9]", "level7", 0, false},
        {"level[^a]", "levelb", 0, true},
        {"[]x]", "]", 0, true},
        {"*", ".hidden", FNM_PERIOD, false},
        {".*", ".hidden", FNM_PERIOD, true},
        {"d/*", "d/.x", FNM_PERIOD | FNM_PATHNAME, false},
        {"*", ".hidden", 0, true},
        {"\\*", "*", 0, true},
        {"\\*", "x", 0, false},
        {"[", "[", 0, true},
        {"a*b*c", "aXbYbZc", 0, true},
        {"a*b*c", "aXbYbZ", 0, false},
        {"", "", 0, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(fnmatch(c.pattern, c.text, c.flags) == 0, c.matches)
            << c.pattern << " against " << c.text << " flags " << c.flags;
}

TEST(PosixCalls, LinksAreNeverThere) {
    char buffer[16];
    errno = 0;
    EXPECT_EQ(readlink("C:\\windows", buffer, sizeof buffer), -1);
    EXPECT_EQ(errno, EINVAL);
    const std::string name = testing::TempDir() + "lstat_probe.txt";
    std::FILE* file = std::fopen(name.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fputs("12345", file);
    std::fclose(file);
    struct stat info {};
    ASSERT_EQ(lstat(name.c_str(), &info), 0);
    EXPECT_EQ(info.st_size, 5);
    EXPECT_FALSE(S_ISLNK(info.st_mode));
    std::remove(name.c_str());
    EXPECT_EQ(lstat(name.c_str(), &info), -1);
}

TEST(ThreadStandIn, HandsOverEveryItemInOrderAndJoins) {
    int marker = 0;
    EXPECT_TRUE(autorun_test::HandOverThroughOneSlot(20000, &marker));
    EXPECT_TRUE(autorun_test::RefusesDetachedThreads());
}

}  // namespace
