#include "command_line_quoting.h"

namespace authoring {

std::string QuoteForPosixShell(std::string_view argument) {
    constexpr std::string_view kPlain =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789_@%+=:,./-";
    bool plain = !argument.empty();
    for (const char c : argument)
        if (static_cast<unsigned char>(c) < 0x80 && kPlain.find(c) == std::string_view::npos) plain = false;
    if (plain) return std::string(argument);
    std::string quoted = "'";
    for (const char c : argument) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

namespace {

// The C runtime's rules: backslashes are literal unless a quote follows them, where each pair stands
// for one backslash and an odd one out escapes the quote.
std::u16string QuoteForCRuntime(std::u16string_view argument) {
    if (!argument.empty() && argument.find_first_of(u" \t\n\v\"") == std::u16string_view::npos)
        return std::u16string(argument);
    std::u16string quoted = u"\"";
    std::size_t backslashes = 0;
    for (const char16_t c : argument) {
        if (c == u'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == u'"' ? backslashes * 2 + 1 : backslashes, u'\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, u'\\');
    return quoted + u"\"";
}

}  // namespace

std::u16string QuoteForWindowsCommandPrompt(std::u16string_view argument) {
    constexpr std::u16string_view kCmdSpecial = u"%!^&|<>()\"";
    const std::u16string quoted = QuoteForCRuntime(argument);
    if (argument.find_first_of(kCmdSpecial) == std::u16string_view::npos) return quoted;
    std::u16string escaped;
    for (const char16_t c : quoted) {
        if (kCmdSpecial.find(c) != std::u16string_view::npos) escaped += u'^';
        escaped += c;
    }
    return escaped;
}

}  // namespace authoring
