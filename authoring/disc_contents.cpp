#include "disc_contents.h"

#include <algorithm>

#include "text_encoding.h"

namespace authoring {

Bytes ReadFileAt(const std::filesystem::path& path, std::size_t limit) {
    autorun::FileReadFailure failure = autorun::FileReadFailure::kOpen;
    auto bytes = autorun::ReadWholeFile(path.native(), limit, &failure);
    if (!bytes)
        throw DiscError(PathText(path) + (failure == autorun::FileReadFailure::kOpen
                                              ? ": cannot open the file"
                                              : ": cannot read the file"));
    return std::move(*bytes);
}

Bytes ReadDiscFile(const DiscFile& file, std::size_t limit) {
    if (file.source) return ReadFileAt(*file.source, limit);
    return Bytes(file.bytes.data(), file.bytes.data() + std::min(limit, file.bytes.size()));
}

}  // namespace authoring
