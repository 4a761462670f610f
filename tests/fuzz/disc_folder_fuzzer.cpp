// Fuzzes `check` on a disc folder: the input becomes autorun.inf, bin2.dat, autorun.exe, the Linux
// launcher and bin2lnx.dat in a folder of its own (disc_folder_input.h), beside the games.  Whatever
// those files hold, the check ends with findings, one line each, never with an exception.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "disc_check.h"
#include "disc_folder_input.h"
#include "disc_reader.h"
#include "elf_image.h"
#include "fuzz_require.h"
#include "jpeg_decoder.h"
#include "launcher_branding.h"

namespace {

namespace fs = std::filesystem;
using authoring::Bytes;
using fuzzing::Require;

// The check decodes the launcher's splash in full; large ones take seconds under the sanitizers
// (see jpeg_decoder_fuzzer) and are left out.
constexpr long long kMaxFuzzedPixels = 1 << 18;

constexpr std::string_view kScript = "#!/bin/sh\ncd \"$(dirname \"$0\")\" && exec ./autorun\n";

// Each input gets a folder of its own: libFuzzer ends with _Exit, so nothing at exit would remove one
// shared by the whole run.
class TemporaryFolder {
   public:
    TemporaryFolder() {
        std::string name = (fs::temp_directory_path() / "disc_folder_fuzzer.XXXXXX").string();
        if (!mkdtemp(name.data())) std::abort();
        path_ = name;
    }
    ~TemporaryFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;
    const fs::path& path() const { return path_; }

   private:
    fs::path path_;
};

void WriteFile(const fs::path& path, std::string_view bytes, bool executable) {
    std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
    fs::permissions(path, executable ? fs::perms(0755) : fs::perms(0644));
}

bool SplashTooLarge(std::string_view exe) {
    try {
        const Bytes splash = authoring::ReadSplashResource(Bytes(exe.begin(), exe.end()));
        const auto size = autorun::ReadJpegSize(splash.data(), splash.size());
        return size && static_cast<long long>(size.value->width) * size.value->height > kMaxFuzzedPixels;
    } catch (const std::exception&) {
        return false;  // the check says why
    }
}

void MakeDisc(const fs::path& root, std::uint8_t flags, const std::vector<std::string_view>& parts) {
    for (std::size_t i = 0; i < parts.size() && i < std::size(fuzzing::kPartFiles); ++i) {
        std::string name = fuzzing::kPartFiles[i];
        if (i == 0 && (flags & fuzzing::kUpperCaseInf)) name = "AUTORUN.INF";
        WriteFile(root / name, parts[i], i == 3 && (flags & fuzzing::kLauncherExecutable));
    }
    for (const char* game : fuzzing::kGameFiles)
        WriteFile(root / game, "game", flags & fuzzing::kGameExecutable);
    if (flags & fuzzing::kWithScript) WriteFile(root / "autorun.sh", kScript, true);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::vector<std::string_view> parts =
        fuzzing::SplitParts(std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1));
    if (parts.size() > 2 && SplashTooLarge(parts[2])) return -1;
    if (parts.size() > 3) authoring::X8664ExecutableProblem(Bytes(parts[3].begin(), parts[3].end()));
    const TemporaryFolder folder;
    MakeDisc(folder.path(), data[0], parts);

    const authoring::CheckReport report =
        authoring::CheckDisc(*authoring::ReadFolder(folder.path().string()));
    Require(!report.findings.empty());
    // The tool prints one finding a line.
    for (const authoring::Finding& finding : report.findings)
        Require(!finding.text.empty() && finding.text.find('\n') == std::string::npos);
    return 0;
}
