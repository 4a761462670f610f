// What a disc author asks for, as plain values: whoever fills them in (the command line, a project
// file, a window) hands them to MakeDisc, BrandLauncherFile or CheckDiscAt.  Every string is UTF-8
// (text_encoding.h); on Windows a path is WTF-8, what autorun::PathTextFromUtf16 makes of the UTF-16
// that Windows gives.
#pragma once

#include <optional>
#include <string>

namespace authoring {

// Signing, the last step after branding.  The password is never part of the project: it comes from
// the password file or the environment variable AUTORUN_SIGN_PASSWORD.
struct SigningSources {
    std::optional<std::string> pfx;           // a PKCS#12 key
    std::optional<std::string> passwordFile;  // its first line is the password
    std::optional<std::string> timestampUrl;  // an RFC 3161 service to countersign
};

// The launcher as it goes out, and where its look comes from.
struct LauncherSources {
    std::optional<std::string> launcher;  // autorun.exe to start from; the one beside the tool when not given
    std::optional<std::string> splash;    // a JPEG or PNG file
    std::optional<std::string> icon;      // a .ico file, or a PNG or JPEG picture to make one from
    std::optional<std::string> product;
    std::optional<std::string> company;
    SigningSources signing;

    bool Branded() const { return splash || icon || product || company; }
};

enum class OutputKind { kIso, kFolder };

struct DiscProject {
    std::string gameFolder;
    std::string exe;                           // the game, a path inside gameFolder
    std::optional<std::string> linuxExe;       // the Linux game, inside gameFolder: adds the Linux side
    std::optional<std::string> linuxLauncher;  // the Linux autorun beside the tool when not given
    LauncherSources launcher;
    std::optional<std::string> label;  // the game folder's name when not given
    std::optional<std::string> media;  // refuse a disc that won't fit on it: cd, dvd, dvd-dl, bd, bd-dl
    OutputKind outputKind = OutputKind::kIso;
    std::string output;    // the ISO image or the folder to write
    bool replace = false;  // an existing output is replaced only when set
};

struct BrandProject {
    LauncherSources launcher;
    std::string output;  // the launcher to write
};

}  // namespace authoring
