// Fuzzes the project file reader with any bytes as the file: it accepts or refuses with one line, and
// a project it accepts, written and read again, is written the same way (nothing drifts on a save).
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "disc_contents.h"
#include "fuzz_require.h"
#include "project_file.h"

namespace {

namespace fs = std::filesystem;
using fuzzing::Require;

// The run's three files, removed after each input: libFuzzer may end the process without running
// destructors or exit handlers.
struct Files {
    const std::string stem =
        (fs::temp_directory_path() / ("project_file_fuzzer_" + std::to_string(getpid()))).string();
    const fs::path input = stem + "_input.json", first = stem + "_first.json", second = stem + "_second.json";
    ~Files() {
        std::error_code ignored;
        for (const fs::path& file : {input, first, second}) fs::remove(file, ignored);
    }
};

std::string Contents(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Files files;
    const fs::path &input = files.input, &first = files.first, &second = files.second;
    std::ofstream(input, std::ios::binary).write(reinterpret_cast<const char*>(data), std::streamsize(size));
    authoring::DiscProject project;
    try {
        project = authoring::ReadProjectFile(input);
    } catch (const authoring::DiscError& error) {
        Require(std::string(error.what()).find('\n') == std::string::npos);
        return 0;
    }
    authoring::WriteProjectFile(project, first);
    authoring::WriteProjectFile(authoring::ReadProjectFile(first), second);
    Require(Contents(first) == Contents(second));
    return 0;
}
