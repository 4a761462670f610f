#include "authenticode.h"

#include <algorithm>

#include "pe_image.h"

namespace authoring {
namespace {

constexpr std::size_t kCertificateHeaderSize = 8;  // dwLength, wRevision, wCertificateType
constexpr std::uint16_t kCertificateRevision2 = 0x0200;
constexpr std::uint16_t kPkcsSignedData = 0x0002;

std::size_t SecurityEntryOffset(const PeHeaders& pe) {
    return pe.directoryTable + 8 * kSecurityDirectory;
}

bool HasSecurityEntry(const Bytes& image, const PeHeaders& pe) {
    // ReadPeHeaders pads the table to 16 entries; only those in the file have an entry to skip.
    const std::uint32_t count = ReadU32(image, pe.directoryTable - 4);
    return count > kSecurityDirectory;
}

}  // namespace

std::optional<SignatureBlock> FindSignature(const Bytes& image) {
    const PeHeaders pe = ReadPeHeaders(image);
    const DataDirectory table = pe.directories[kSecurityDirectory];
    if (table.size == 0) return std::nullopt;
    if (table.rva > image.size() || table.size > image.size() - table.rva)
        throw BrokenSignature("the signature lies beyond the end of the file");
    if (table.size < kCertificateHeaderSize) throw BrokenSignature("the signature table is too short");
    const std::uint32_t length = ReadU32(image, table.rva);
    const std::uint16_t revision = ReadU16(image, table.rva + 4);
    const std::uint16_t type = ReadU16(image, table.rva + 6);
    if (length < kCertificateHeaderSize || length > table.size)
        throw BrokenSignature("the signature's length does not fit its table");
    if (revision != kCertificateRevision2 || type != kPkcsSignedData)
        throw BrokenSignature("the signature is not an Authenticode PKCS#7 signature");
    SignatureBlock block{table.rva, table.size, {}};
    block.pkcs7.assign(image.data() + table.rva + kCertificateHeaderSize, image.data() + table.rva + length);
    return block;
}

std::vector<ByteRange> AuthenticodeDigestRanges(const Bytes& image,
                                                std::optional<ByteRange> certificateTable) {
    const PeHeaders pe = ReadPeHeaders(image);
    std::vector<ByteRange> skipped{
        {pe.optionalHeader + kCheckSumField, pe.optionalHeader + kCheckSumField + 4}};
    if (HasSecurityEntry(image, pe))
        skipped.push_back({SecurityEntryOffset(pe), SecurityEntryOffset(pe) + 8});
    if (certificateTable) skipped.push_back(*certificateTable);
    std::sort(skipped.begin(), skipped.end());

    std::vector<ByteRange> covered;
    std::size_t at = 0;
    for (const auto& [from, to] : skipped) {
        if (from > at) covered.push_back({at, std::min(from, image.size())});
        at = std::max(at, to);
    }
    if (at < image.size()) covered.push_back({at, image.size()});
    return covered;
}

}  // namespace authoring
