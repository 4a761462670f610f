// An ISO image for libisofs to read, opened by path through std::filesystem: libisofs' own source
// takes the path as 8-bit text for open(), which on Windows means the ANSI code page, and seeks with
// an off_t that 32-bit Windows builds keep at 32 bits.
#pragma once

#include <filesystem>
#include <fstream>
#include <memory>

#include "libisofs_handles.h"

namespace authoring {

// The file behind a libisofs stream or source, opened and closed with libisofs' result codes: an open
// file can't be opened again, nor a closed one closed.
int OpenIsoInput(std::unique_ptr<std::ifstream>& file, const std::filesystem::path& path);
int CloseIsoInput(std::unique_ptr<std::ifstream>& file);

// A source with one reference, not yet open.
IsoDataSourcePtr NewIsoImageSource(const std::filesystem::path& image);

}  // namespace authoring
