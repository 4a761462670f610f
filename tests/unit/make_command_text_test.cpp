// The make command's text: the system's own shell must hand the tool exactly the project's words,
// whatever the names hold.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "command_line_quoting.h"
#include "make_command_text.h"

#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>

#include "text_encoding.h"
#else
#include <cstdio>
#include <memory>
#endif

namespace authoring {
namespace {

// Names an author may well have, and the characters each shell acts on.
DiscProject Awkward() {
    DiscProject project;
    project.gameFolder = "My Games/Quest (Deluxe) & more";
    project.exe = "bin\\quest.exe";
    project.linuxExe = "it's $HOME `date` !x";
    project.launcher.splash = "C:\\Art Work\\";  // a trailing backslash before the closing quote
    project.launcher.icon = "say \"hi\"\\\"";
    project.launcher.product = "100% %PATH% ^caret | <pipe> *.x ~user #tag";
    project.launcher.company = "Caf\xC3\xA9 \xE7\x9B\xAE\xE5\xBD\x95";  // non-ASCII as UTF-8
    project.label = "";
    project.launcher.signing.timestampUrl = "http://t.example/?a=1&b=2";
    project.media = "dvd";
    project.outputKind = OutputKind::kIso;
    project.output = "out\tput.iso";
    project.replace = true;
    return project;
}

TEST(MakeCommandText, WordsFollowTheProjectInAFixedOrder) {
    DiscProject project;
    project.gameFolder = "G";
    project.exe = "g.exe";
    project.launcher.icon = "i.ico";
    project.launcher.signing.pfx = "k.pfx";
    project.outputKind = OutputKind::kFolder;
    project.output = "F";
    EXPECT_EQ(MakeCommandArguments(project),
              (std::vector<std::string>{"autorun-disc", "make", "--game", "G", "--exe", "g.exe", "--icon",
                                        "i.ico", "--sign", "k.pfx", "--folder", "F"}));
    // A draft leaves out what it lacks.
    EXPECT_EQ(MakeCommandArguments(DiscProject()), (std::vector<std::string>{"autorun-disc", "make"}));
}

TEST(MakeCommandText, QuotingIsPlainWhereNothingNeedsIt) {
    EXPECT_EQ(QuoteForPosixShell("dir/game-1.exe"), "dir/game-1.exe");
    EXPECT_EQ(QuoteForPosixShell("Caf\xC3\xA9"), "Caf\xC3\xA9");
    EXPECT_EQ(QuoteForPosixShell(""), "''");
    EXPECT_EQ(QuoteForPosixShell("it's"), "'it'\\''s'");
    EXPECT_EQ(QuoteForWindowsCommandPrompt(u"C:\\Games\\q.exe"), u"C:\\Games\\q.exe");
    EXPECT_EQ(QuoteForWindowsCommandPrompt(u"C:\\My Games\\"), u"\"C:\\My Games\\\\\"");
    EXPECT_EQ(QuoteForWindowsCommandPrompt(u""), u"\"\"");
    EXPECT_EQ(QuoteForWindowsCommandPrompt(u"a&b"), u"a^&b");
    EXPECT_EQ(QuoteForWindowsCommandPrompt(u"say \"hi\""), u"^\"say \\^\"hi\\^\"^\"");
}

#ifdef _WIN32

// cmd.exe's part: outside its own quotes "^" makes the next character plain.  Every argument the text
// escapes is escaped whole, so cmd.exe never sees an opening quote there.
std::wstring AfterCommandPrompt(const std::wstring& text) {
    std::wstring plain;
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'"') quoted = !quoted;
        if (text[i] == L'^' && !quoted && i + 1 < text.size()) ++i;
        plain += text[i];
    }
    return plain;
}

TEST(MakeCommandText, CommandLineToArgvGivesBackTheWords) {
    DiscProject project = Awkward();
    project.launcher.company = "Caf\xC3\xA9";  // UTF-8, as every text in a project
    const std::u16string text = ToUtf16(MakeCommandText(project));
    int count = 0;
    LPWSTR* argv =
        CommandLineToArgvW(AfterCommandPrompt(std::wstring(text.begin(), text.end())).c_str(), &count);
    ASSERT_NE(argv, nullptr);
    std::vector<std::string> words;
    for (int i = 0; i < count; ++i) {
        const std::wstring word = argv[i];
        words.push_back(FromUtf16(std::u16string(word.begin(), word.end())));
    }
    LocalFree(argv);
    EXPECT_EQ(words, MakeCommandArguments(project));
}

#else

TEST(MakeCommandText, AShellGivesBackTheWords) {
    const DiscProject project = Awkward();
    const std::string script = "set -- " + MakeCommandText(project) + "; printf '%s\\0' \"$@\"";
    std::string quotedScript;
    for (const char c : script) quotedScript += c == '\'' ? std::string("'\\''") : std::string(1, c);
    const std::unique_ptr<FILE, int (*)(FILE*)> shell(popen(("sh -c '" + quotedScript + "'").c_str(), "r"),
                                                      pclose);
    ASSERT_TRUE(shell);
    std::vector<std::string> words(1);
    for (int c; (c = std::fgetc(shell.get())) != EOF;) {
        if (c == 0)
            words.emplace_back();
        else
            words.back() += char(c);
    }
    words.pop_back();
    EXPECT_EQ(words, MakeCommandArguments(project));
}

#endif

}  // namespace
}  // namespace authoring
