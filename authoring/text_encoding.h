// Texts as the tool receives them (the system's encoding: UTF-8 on Linux, the ANSI code page on
// Windows) and as a disc stores them.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace authoring {

// The code page that the launcher reads bin2.dat in on the player's machine.  On Windows it is the
// machine's own; on Linux Windows-1252 is assumed, the ANSI code page of western European Windows.
std::string AnsiCodePageName();

// The text in the ANSI code page, or nothing when the code page lacks one of its characters.
std::optional<std::string> ToAnsi(const std::string& text);

// The text as UTF-16, for resources and Joliet names.  Bytes that are not valid in the system's
// encoding become U+FFFD.
std::u16string ToUtf16(const std::string& text);

// The inverses: ANSI bytes (as bin2.dat holds them) and UTF-16 text in the system's encoding; what
// the system's encoding lacks becomes "?".
std::string FromAnsi(const std::string& ansi);
std::string FromUtf16(const std::u16string& text);

// A path with "/" separators, as UTF-16 (for Joliet and for Windows' name matching) and as text in the
// system's encoding (for messages; on Windows what the ANSI code page lacks becomes "?").
std::u16string PathUtf16(const std::filesystem::path& path);
std::string PathText(const std::filesystem::path& path);

// A path with "/" separators as UTF-8, the names libisofs takes and gives, and back.  On Linux the bytes
// go through as they are.
std::string PathUtf8(const std::filesystem::path& path);
std::filesystem::path PathFromUtf8(const std::string& utf8);

// Texts in the system's encoding (what the tool's arguments and a DiscProject hold) as UTF-8, which
// project files hold, and back.  On Linux the bytes go through as they are; on Windows nothing comes
// back when the ANSI code page lacks one of the characters, since a look-alike would name another file.
std::string Utf8FromSystemText(const std::string& text);
std::optional<std::string> SystemTextFromUtf8(const std::string& utf8);

// A path given as text in the system's encoding, and back (nothing where the encoding can't spell it).
std::filesystem::path PathFromSystemText(const std::string& text);
std::optional<std::string> SystemTextFromPath(const std::filesystem::path& path);

}  // namespace authoring
