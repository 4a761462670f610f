#include "atomic_write.h"

namespace autorun {

namespace {

template <class Path>
void WriteWhole(const Path& path, const std::vector<std::uint8_t>& bytes) {
    AtomicFileWriter writer(path);
    writer.Write(bytes.data(), bytes.size());
    writer.Commit();
}

}  // namespace

void WriteFileAtomically(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    WriteWhole(path, bytes);
}

void WriteFileAtomically(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    WriteWhole(path, bytes);
}

}  // namespace autorun
