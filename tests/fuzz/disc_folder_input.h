// How disc_folder_fuzzer turns one input into a disc folder, shared with the seed maker so that the
// seeds keep matching: a flags byte, then the files' contents separated by kPartSeparator.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace fuzzing {

enum DiscFlag : std::uint8_t {
    kWithScript = 1,          // autorun.sh at the root, executable
    kLauncherExecutable = 2,  // the Linux launcher "autorun" has its x bits
    kGameExecutable = 4,      // so have the games
    kUpperCaseInf = 8,        // AUTORUN.INF, as Windows finds it whatever its case
};

// Unlikely inside any of the files, so that mutations of one file's bytes stay in that file.
inline constexpr std::string_view kPartSeparator = "\n--autorun-disc-part--\n";

// The files in the order of their parts; an input with fewer parts leaves the last files out.
inline constexpr const char* kPartFiles[] = {"autorun.inf", "bin2.dat", "autorun.exe", "autorun",
                                             "bin2lnx.dat"};

// The games that seeds' settings files name, always there.
inline constexpr const char* kGameFiles[] = {"game.exe", "game.sh"};

inline std::vector<std::string_view> SplitParts(std::string_view text) {
    std::vector<std::string_view> parts;
    for (;;) {
        const std::size_t end = text.find(kPartSeparator);
        parts.push_back(text.substr(0, end));
        if (end == std::string_view::npos) return parts;
        text.remove_prefix(end + kPartSeparator.size());
    }
}

}  // namespace fuzzing
