// Builds without libisofs (the Windows one: Debian packages libisofs for Linux only).
#include "disc_output.h"
#include "disc_reader.h"

namespace authoring {

bool CanWriteIso() {
    return false;
}

std::uint64_t WriteDiscIso(const DiscContents&, const std::string& target, bool, const Progress&,
                           const SizeCheck&) {
    throw DiscError(target +
                    ": this build writes folders only (--folder); burn the folder with a disc burning "
                    "program, or make the ISO with the Linux build");
}

std::unique_ptr<DiscReader> ReadIsoImage(const std::string& image) {
    throw DiscError(image +
                    ": this build checks folders only; extract the image or check it with the Linux build");
}

}  // namespace authoring
