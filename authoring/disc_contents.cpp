#include "disc_contents.h"

#include <fstream>
#include <iterator>

#include "text_encoding.h"

namespace authoring {

Bytes ReadFileAt(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in.is_open()) throw DiscError(PathText(path) + ": cannot open the file");
    Bytes bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) throw DiscError(PathText(path) + ": cannot read the file");
    return bytes;
}

Bytes ReadDiscFile(const DiscFile& file) {
    return file.source ? ReadFileAt(*file.source) : file.bytes;
}

}  // namespace authoring
