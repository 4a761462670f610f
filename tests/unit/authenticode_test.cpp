#include <gtest/gtest.h>

#include "authenticode.h"
#include "pe_image.h"
#include "signature_check.h"
#include "synthetic_pe.h"

namespace authoring {
namespace {

constexpr std::uint32_t kTableSize = 64;

// A synthetic image whose certificate table holds one WIN_CERTIFICATE of `length` bytes.
Bytes SignedImage(std::uint32_t length = 40, std::uint16_t revision = 0x0200, std::uint16_t type = 2) {
    Bytes image = MakeSyntheticPe({false, {}, {}, {}, kTableSize});
    const std::size_t table = image.size() - kTableSize;
    WriteU32(image, table, length);
    WriteU16(image, table + 4, revision);
    WriteU16(image, table + 6, type);
    for (std::size_t i = 8; i < length; ++i) image[table + i] = std::uint8_t(i);
    return image;
}

std::size_t Covered(const std::vector<ByteRange>& ranges) {
    std::size_t total = 0;
    for (const auto& [from, to] : ranges) total += to - from;
    return total;
}

bool Covers(const std::vector<ByteRange>& ranges, std::size_t offset) {
    for (const auto& [from, to] : ranges)
        if (offset >= from && offset < to) return true;
    return false;
}

TEST(Authenticode, TheDigestSkipsTheChecksumTheSecurityEntryAndTheTable) {
    const Bytes image = SignedImage();
    const PeHeaders pe = ReadPeHeaders(image);
    const auto block = FindSignature(image);
    ASSERT_TRUE(block);
    const ByteRange table{block->tableOffset, block->tableOffset + block->tableSize};
    const auto ranges = AuthenticodeDigestRanges(image, table);
    EXPECT_EQ(Covered(ranges), image.size() - 4 - 8 - kTableSize);
    EXPECT_FALSE(Covers(ranges, pe.optionalHeader + kCheckSumField + 3));
    EXPECT_FALSE(Covers(ranges, pe.directoryTable + 8 * kSecurityDirectory + 7));
    EXPECT_TRUE(Covers(ranges, pe.directoryTable + 8 * kSecurityDirectory + 8));  // the next directory
    EXPECT_FALSE(Covers(ranges, block->tableOffset));
    EXPECT_TRUE(Covers(ranges, block->tableOffset - 1));
    for (std::size_t i = 1; i < ranges.size(); ++i) EXPECT_LT(ranges[i - 1].second, ranges[i].first);
}

TEST(Authenticode, BytesAppendedAfterTheTableAreStillCovered) {
    Bytes image = SignedImage();
    const auto block = FindSignature(image);
    ASSERT_TRUE(block);
    image.insert(image.end(), 16, 0xee);
    const auto ranges =
        AuthenticodeDigestRanges(image, ByteRange{block->tableOffset, block->tableOffset + block->tableSize});
    EXPECT_TRUE(Covers(ranges, image.size() - 1));
    EXPECT_EQ(Covered(ranges), image.size() - 4 - 8 - kTableSize);
}

TEST(Authenticode, AnUnsignedImageHasNoSignatureAndIsDigestedAlmostWhole) {
    const Bytes image = MakeSyntheticPe({false, {}, {}, {}, 0});
    EXPECT_FALSE(FindSignature(image));
    EXPECT_EQ(ReadLauncherSignature(image).state, LauncherSignature::State::kUnsigned);
    EXPECT_EQ(Covered(AuthenticodeDigestRanges(image, std::nullopt)), image.size() - 4 - 8);
}

TEST(Authenticode, TheFirstCertificateIsTakenByItsOwnLength) {
    const auto block = FindSignature(SignedImage(40));
    ASSERT_TRUE(block);
    EXPECT_EQ(block->pkcs7.size(), 32u);
    EXPECT_EQ(block->pkcs7.front(), 8);
    EXPECT_EQ(block->tableSize, kTableSize);
}

TEST(Authenticode, ADamagedTableIsABrokenSignatureNotACrash) {
    EXPECT_THROW(FindSignature(SignedImage(kTableSize + 1)), BrokenSignature);  // longer than its table
    EXPECT_THROW(FindSignature(SignedImage(4)), BrokenSignature);               // shorter than its header
    EXPECT_THROW(FindSignature(SignedImage(40, 0x0100)), BrokenSignature);      // old revision
    EXPECT_THROW(FindSignature(SignedImage(40, 0x0200, 1)), BrokenSignature);   // an X.509 certificate only

    Bytes cut = SignedImage();
    cut.resize(cut.size() - 8);  // the table now runs past the end of the file
    EXPECT_THROW(FindSignature(cut), BrokenSignature);
    const LauncherSignature signature = ReadLauncherSignature(cut);
    EXPECT_EQ(signature.state, LauncherSignature::State::kBroken);
    EXPECT_NE(signature.problem.find("beyond the end"), std::string::npos) << signature.problem;

    Bytes huge = SignedImage();
    const PeHeaders pe = ReadPeHeaders(huge);
    WriteU32(huge, pe.directoryTable + 8 * kSecurityDirectory, 0xfffffff0u);  // an offset that would wrap
    EXPECT_EQ(ReadLauncherSignature(huge).state, LauncherSignature::State::kBroken);
}

TEST(Authenticode, AWellFramedSignatureIsJudgedByWhatThisBuildCanRead) {
    const LauncherSignature signature = ReadLauncherSignature(SignedImage());
#ifdef _WIN32
    EXPECT_EQ(signature.state, LauncherSignature::State::kUnverified);  // no PKCS#7 reader in this build
#else
    // The frame is right but the bytes inside are no PKCS#7.
    EXPECT_EQ(signature.state, LauncherSignature::State::kBroken);
    EXPECT_NE(signature.problem.find("PKCS#7"), std::string::npos) << signature.problem;
#endif
}

TEST(Authenticode, ANonExecutableIsAFormatErrorNotASignatureVerdict) {
    EXPECT_THROW(ReadLauncherSignature(Bytes(100, 'x')), PeFormatError);
}

TEST(SignatureCheck, AnUnsignedLauncherGetsTheDownloadNoteInImagesOnly) {
    const Bytes unsigned_ = MakeSyntheticPe({false, {}, {}, {}, 0});
    std::vector<Finding> image, folder;
    CheckLauncherSignature(unsigned_, "autorun.exe", false, image);
    CheckLauncherSignature(unsigned_, "autorun.exe", true, folder);
    ASSERT_EQ(image.size(), 1u);
    EXPECT_EQ(image[0].level, Finding::kNote);
    EXPECT_NE(image[0].text.find("Smart App Control blocks unsigned programs in downloaded images; physical "
                                 "discs are not affected"),
              std::string::npos);
    ASSERT_EQ(folder.size(), 1u);
    EXPECT_EQ(folder[0].text, "autorun.exe is not signed");
}

TEST(SignatureCheck, ABrokenSignatureWarnsButDoesNotStopTheDisc) {
    Bytes cut = SignedImage();
    cut.resize(cut.size() - 8);
    std::vector<Finding> findings;
    CheckLauncherSignature(cut, "autorun.exe", false, findings);
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_EQ(findings[0].level, Finding::kWarning);
    EXPECT_NE(findings[0].text.find("autorun.exe is signed, but the signature is broken: the signature lies "
                                    "beyond the end of the file"),
              std::string::npos)
        << findings[0].text;
}

}  // namespace
}  // namespace authoring
