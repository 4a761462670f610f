// Authenticode signatures of Windows executables: where the signature sits in the file, which bytes it
// has to cover, who signed, and whether it still covers them.
#pragma once

#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "little_endian.h"

namespace authoring {

struct LauncherSignature {
    enum class State {
        kUnsigned,
        kIntact,      // the signature covers every byte it has to
        kBroken,      // `problem` says why
        kUnverified,  // signed, but this build can't read PKCS#7 to tell more
    };
    State state = State::kUnsigned;
    std::string signer;   // the signing certificate's subject, when it could be read
    std::string problem;  // kBroken: one clause, e.g. "the file was changed after signing"
};

// The first WIN_CERTIFICATE of the security directory: its PKCS#7 SignedData and the table's place.
struct SignatureBlock {
    std::size_t tableOffset = 0;  // the certificate table, a file offset (not an address)
    std::size_t tableSize = 0;
    Bytes pkcs7;
};

// The signature is there but damaged; what() is one clause, without the file's name.
class BrokenSignature : public std::runtime_error {
   public:
    using std::runtime_error::runtime_error;
};

// A half-open range of file offsets.
using ByteRange = std::pair<std::size_t, std::size_t>;

// Nothing when the image is unsigned.  Throws PeFormatError when it is no PE image, BrokenSignature
// when the security directory or its first certificate is damaged.
std::optional<SignatureBlock> FindSignature(const Bytes& image);

// What the Authenticode digest runs over: the whole file but the CheckSum field, the security
// directory's entry and the certificate table.  Throws PeFormatError.
std::vector<ByteRange> AuthenticodeDigestRanges(const Bytes& image,
                                                std::optional<ByteRange> certificateTable);

// The launcher's signature as far as this build can tell.  Throws PeFormatError when the image is not
// an executable; a signature that is damaged in any way is kBroken.
LauncherSignature ReadLauncherSignature(const Bytes& image);

}  // namespace authoring
