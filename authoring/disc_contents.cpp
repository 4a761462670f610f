#include "disc_contents.h"

#include <algorithm>
#include <fstream>

#include "text_encoding.h"

namespace authoring {

Bytes ReadFileAt(const std::filesystem::path& path, std::size_t limit) {
    std::ifstream in(path, std::ios::binary);
    if (!in.is_open()) throw DiscError(PathText(path) + ": cannot open the file");
    Bytes bytes;
    std::vector<char> chunk(1 << 16);
    while (bytes.size() < limit && in) {
        in.read(chunk.data(), static_cast<std::streamsize>(std::min(chunk.size(), limit - bytes.size())));
        bytes.insert(bytes.end(), chunk.begin(), chunk.begin() + in.gcount());
    }
    if (in.bad()) throw DiscError(PathText(path) + ": cannot read the file");
    return bytes;
}

Bytes ReadDiscFile(const DiscFile& file, std::size_t limit) {
    if (file.source) return ReadFileAt(*file.source, limit);
    return Bytes(file.bytes.begin(), file.bytes.begin() + std::min(limit, file.bytes.size()));
}

}  // namespace authoring
