#include "make_command_text.h"

#include "command_line_quoting.h"
#include "text_encoding.h"

namespace authoring {
namespace {

void Add(std::vector<std::string>& words, const char* option, const std::optional<std::string>& value) {
    if (!value) return;
    words.emplace_back(option);
    words.push_back(*value);
}

void Add(std::vector<std::string>& words, const char* option, const std::string& value) {
    if (!value.empty()) Add(words, option, std::optional<std::string>(value));
}

std::string Quoted(const std::string& word) {
#ifdef _WIN32
    // Quoted as UTF-16, so that no byte of a double-byte code page's character is taken for a
    // backslash or a quote.
    return FromUtf16(QuoteForWindowsCommandPrompt(ToUtf16(word)));
#else
    return QuoteForPosixShell(word);
#endif
}

}  // namespace

std::vector<std::string> MakeCommandArguments(const DiscProject& project) {
    std::vector<std::string> words = {"autorun-disc", "make"};
    Add(words, "--game", project.gameFolder);
    Add(words, "--exe", project.exe);
    Add(words, "--linux-exe", project.linuxExe);
    Add(words, "--linux-launcher", project.linuxLauncher);
    const LauncherSources& launcher = project.launcher;
    Add(words, "--splash", launcher.splash);
    Add(words, "--icon", launcher.icon);
    Add(words, "--label", project.label);
    Add(words, "--product", launcher.product);
    Add(words, "--company", launcher.company);
    Add(words, "--launcher", launcher.launcher);
    Add(words, "--sign", launcher.signing.pfx);
    Add(words, "--sign-password-file", launcher.signing.passwordFile);
    Add(words, "--timestamp-url", launcher.signing.timestampUrl);
    Add(words, "--media", project.media);
    Add(words, project.outputKind == OutputKind::kIso ? "--iso" : "--folder", project.output);
    if (project.replace) words.emplace_back("--force");
    return words;
}

std::string MakeCommandText(const DiscProject& project) {
    std::string text;
    for (const std::string& word : MakeCommandArguments(project))
        text += (text.empty() ? "" : " ") + Quoted(word);
    return text;
}

}  // namespace authoring
