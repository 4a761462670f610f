#include "game_programs.h"

#include <algorithm>
#include <system_error>

#include "disc_contents.h"
#include "text_encoding.h"

namespace authoring {
namespace {

// As much of a program as `check` reads for its manifest: resources lie near the end of most programs,
// but a game's data appended to it would make the whole file too much to read.
constexpr std::size_t kProgramReadLimit = 64u << 20;

bool IsProgramName(const std::filesystem::path& path) {
    std::u16string extension = path.extension().u16string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c - u'A' + u'a') : c; });
    return extension == u".exe";
}

bool BiggestFirst(const GameProgram& left, const GameProgram& right) {
    if (left.size != right.size) return left.size > right.size;
    return left.path < right.path;
}

}  // namespace

std::vector<GameProgram> FindGamePrograms(const std::filesystem::path& folder) {
    std::vector<GameProgram> programs;
    std::error_code error;
    std::filesystem::recursive_directory_iterator entries(folder, error);
    for (; !error && entries != std::filesystem::recursive_directory_iterator(); entries.increment(error)) {
        if (!entries->is_regular_file(error) || entries->is_symlink(error) || !IsProgramName(entries->path()))
            continue;
        GameProgram program;
        program.path = entries->path().lexically_relative(folder);
        program.size = entries->file_size(error);
        if (error) break;
        program.elevation =
            ElevationCauseOf(ReadFileAt(entries->path(), kProgramReadLimit), PathText(program.path));
        programs.push_back(std::move(program));
    }
    if (error) throw DiscError(PathText(folder) + ": cannot read the folder (" + error.message() + ")");
    std::sort(programs.begin(), programs.end(), BiggestFirst);
    return programs;
}

}  // namespace authoring
