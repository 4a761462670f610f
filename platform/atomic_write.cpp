#include "atomic_write.h"

namespace autorun {

void WriteFileAtomically(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    AtomicFileWriter writer(path);
    writer.Write(bytes.data(), bytes.size());
    writer.Commit();
}

}  // namespace autorun
