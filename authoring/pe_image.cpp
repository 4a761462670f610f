#include "pe_image.h"

namespace authoring {

PeHeaders ReadPeHeaders(const Bytes& image) {
    auto headers = autorun::ParsePeHeaders(image);
    if (!headers) throw PeFormatError(headers.problem());
    return std::move(*headers);
}

}  // namespace authoring
