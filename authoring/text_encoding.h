// Texts and paths as authoring carries them, and as a disc stores them.
//
// Inside authoring every text is 8-bit Unicode, on both systems: a DiscProject's paths, labels and
// names, and every message.  On Linux that is the system's own encoding, so bytes pass through as they
// are.  On Windows paths are generalized UTF-8 (WTF-8, platform/win32/win32_path_text.h), so that any
// name Windows allows survives, and other texts are plain UTF-8.  The ANSI code page comes in only
// where a disc stores a text in it (bin2.dat's name, autorun.inf, the volume ID), through ToAnsi,
// which refuses what the code page lacks.  A path text becomes a std::filesystem::path through
// FilePath and nothing else: libstdc++ on Windows reads a narrow string byte by byte through the C
// runtime's locale (Latin-1 in one program, the ANSI code page in another), never as UTF-8.  File
// operations get the path through autorun::SystemPath (platform/folder_tree.h): past MAX_PATH, Windows
// needs the "\\?\" form it adds.
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

// The label's bytes that a volume ID is made from (one "_" for each outside A-Z and 0-9), as each build
// always made it: on Windows the ANSI form, where the code page holds the label; on Linux UTF-8.
std::string VolumeIdBytes(const std::string& label);

// The text as UTF-16, for resources and Joliet names.  On Linux bytes that are not valid UTF-8 become
// U+FFFD; on Windows a path's unpaired surrogates come back as they were.
std::u16string ToUtf16(const std::string& text);

// The inverses: ANSI bytes (as bin2.dat holds them) and UTF-16 text as 8-bit Unicode.
std::string FromAnsi(const std::string& ansi);
std::string FromUtf16(const std::u16string& text);

// A path with "/" separators, as UTF-16 (for Joliet and for Windows' name matching) and as text (for
// messages and comparisons).
std::u16string PathUtf16(const std::filesystem::path& path);
std::string PathText(const std::filesystem::path& path);

// A path in the system's own form (backslashes on Windows), for paths handed back to the author.
std::string NativePathText(const std::filesystem::path& path);

// A path with "/" separators as UTF-8, the names libisofs takes and gives, and back.  On Linux the bytes
// go through as they are.
std::string PathUtf8(const std::filesystem::path& path);
std::filesystem::path PathFromUtf8(const std::string& utf8);

// A path given as text (a DiscProject's, an argument) as a path for std::filesystem.
std::filesystem::path FilePath(const std::string& text);

}  // namespace authoring
