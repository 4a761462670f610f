#include "disc_contents.h"

#include "file_reading.h"

namespace authoring {

Bytes ReadDiscFile(const DiscFile& file) {
    if (!file.source) return file.bytes;
    auto bytes = autorun::ReadWholeFile(file.source->string());
    if (!bytes) throw DiscError(file.source->string() + ": cannot read the file");
    return std::move(*bytes);
}

}  // namespace authoring
