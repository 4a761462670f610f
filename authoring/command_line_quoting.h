// Quoting one argument so that a shell hands it to the program unchanged.  Both kinds are built on
// every system, so that each can be tested anywhere; MakeCommandText picks the system's own.
#pragma once

#include <string>
#include <string_view>

namespace authoring {

// For a POSIX shell: words of plain characters (and any non-ASCII bytes) as they are, anything else
// in single quotes, a single quote itself as '\''.
std::string QuoteForPosixShell(std::string_view argument);

// For cmd.exe starting a program whose C runtime splits its command line as CommandLineToArgvW does:
// the C runtime's quotes and backslashes first; then, when the argument holds a character cmd.exe
// acts on (% ! ^ & | < > ( ) or a quote), every such character of the quoted argument, quotes
// included, escaped with "^", so that cmd.exe's own idea of what is quoted never comes into play.
std::u16string QuoteForWindowsCommandPrompt(std::u16string_view argument);

}  // namespace authoring
