// The Windows build has no PKCS#7 reader: it tells a signed launcher from an unsigned one and checks
// the certificate table's frame, and leaves the rest to the Linux build or the system's own tools.
#include "authenticode.h"

namespace authoring {

LauncherSignature ReadLauncherSignature(const Bytes& image) {
    try {
        if (!FindSignature(image)) return {};
        return {LauncherSignature::State::kUnverified, {}, {}};
    } catch (const BrokenSignature& error) {
        return {LauncherSignature::State::kBroken, {}, error.what()};
    }
}

}  // namespace authoring
