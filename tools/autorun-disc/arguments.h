// The command line of autorun-disc, parsed with CLI11 into what one run has to do.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace autorun_disc {

enum class Command { kHelp, kMake, kBrand, kCheck };

// A command line that makes no sense; what() is one line for the user.
class UsageError : public std::runtime_error {
   public:
    using std::runtime_error::runtime_error;
};

struct Branding {
    std::optional<std::string> splash;  // a JPEG or PNG file
    std::optional<std::string> icon;    // a .ico file
    std::optional<std::string> product;
    std::optional<std::string> company;
    std::optional<std::string> launcher;  // the autorun.exe beside the tool when not given

    bool Any() const { return splash || icon || product || company; }
};

// Signing, the last step after branding.  The password never comes from the command line.
struct Signing {
    std::optional<std::string> pfx;           // --sign FILE.pfx
    std::optional<std::string> passwordFile;  // else AUTORUN_SIGN_PASSWORD
    std::optional<std::string> timestampUrl;
};

struct Arguments {
    Command command = Command::kHelp;
    std::string helpText;  // kHelp: what to print

    Branding branding;  // make, brand
    Signing signing;    // make, brand

    // make
    std::string game;
    std::string exe;
    std::optional<std::string> label;
    std::optional<std::string> iso;
    std::optional<std::string> folder;
    std::optional<std::string> linuxExe;       // the Linux game, inside the game folder
    std::optional<std::string> linuxLauncher;  // the autorun beside the tool when not given
    bool force = false;
    std::optional<std::string> media;  // refuse a disc that won't fit on it: cd, dvd, dvd-dl, bd, bd-dl

    std::string out;     // brand
    std::string target;  // check: an ISO image or a folder
};

// `args` excludes the program name.  Throws UsageError.
Arguments ParseArguments(const std::vector<std::string>& args);

}  // namespace autorun_disc
