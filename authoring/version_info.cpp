#include "version_info.h"

namespace authoring {
namespace {

constexpr std::size_t kHeaderSize = 6;
const std::u16string kStringFileInfo = u"StringFileInfo";

std::size_t Align4(std::size_t offset) {
    return (offset + 3) & ~std::size_t(3);
}

VersionBlock ParseBlock(const Bytes& bytes, std::size_t start, std::size_t limit) {
    const std::size_t length = ReadU16(bytes, start, "a version block");
    if (length < kHeaderSize || start + length > limit)
        throw VersionInfoError("a version block overruns its parent");
    const std::size_t end = start + length;
    const std::size_t valueLength = ReadU16(bytes, start + 2);
    VersionBlock block;
    block.type = ReadU16(bytes, start + 4);
    std::size_t at = start + kHeaderSize;
    for (;;) {
        if (at + 2 > end) throw VersionInfoError("a version block's key has no end");
        const char16_t c = char16_t(ReadU16(bytes, at));
        at += 2;
        if (c == 0) break;
        block.key.push_back(c);
    }
    at = Align4(at);
    std::size_t valueBytes = std::min(valueLength * (block.type == 1 ? 2 : 1), end > at ? end - at : 0);
    // A text cut short by its block's end keeps whole characters: its length is written back in
    // characters, and a stray byte would leave length and bytes disagreeing.
    if (block.type == 1) valueBytes &= ~std::size_t(1);
    if (at < end) block.value.assign(bytes.data() + at, bytes.data() + at + valueBytes);
    at = Align4(at + valueBytes);
    while (at + kHeaderSize <= end) {
        block.children.push_back(ParseBlock(bytes, at, end));
        at = Align4(at + ReadU16(bytes, at));
    }
    return block;
}

void AppendBlock(Bytes& out, const VersionBlock& block) {
    PadTo(out, 4);
    const std::size_t start = out.size();
    AppendU16(out, 0);
    AppendU16(out, std::uint16_t(block.type == 1 ? block.value.size() / 2 : block.value.size()));
    AppendU16(out, block.type);
    for (char16_t c : block.key) AppendU16(out, c);
    AppendU16(out, 0);
    PadTo(out, 4);
    out.insert(out.end(), block.value.begin(), block.value.end());
    for (const VersionBlock& child : block.children) AppendBlock(out, child);
    if (out.size() - start > 0xffff) throw VersionInfoError("the version information grew beyond 64 KiB");
    WriteU16(out, start, std::uint16_t(out.size() - start));
}

Bytes TextValue(const std::u16string& text) {
    Bytes value;
    for (char16_t c : text) AppendU16(value, c);
    AppendU16(value, 0);
    return value;
}

}  // namespace

VersionBlock ParseVersionInfo(const Bytes& resource) {
    try {
        return ParseBlock(resource, 0, resource.size());
    } catch (const TruncatedData& error) {
        throw VersionInfoError(std::string("damaged version information: ") + error.what());
    }
}

Bytes BuildVersionInfo(const VersionBlock& root) {
    Bytes out;
    AppendBlock(out, root);
    return out;
}

void SetVersionString(VersionBlock& root, const std::u16string& name, const std::u16string& value) {
    for (VersionBlock& info : root.children) {
        if (info.key != kStringFileInfo) continue;
        for (VersionBlock& table : info.children) {
            VersionBlock* found = nullptr;
            for (VersionBlock& string : table.children)
                if (string.key == name) found = &string;
            if (!found) {
                table.children.push_back({name, 1, {}, {}});
                found = &table.children.back();
            }
            found->type = 1;
            found->value = TextValue(value);
        }
    }
}

std::optional<std::u16string> FindVersionString(const VersionBlock& root, const std::u16string& name) {
    for (const VersionBlock& info : root.children) {
        if (info.key != kStringFileInfo) continue;
        for (const VersionBlock& table : info.children)
            for (const VersionBlock& string : table.children) {
                if (string.key != name) continue;
                std::u16string value;
                for (std::size_t i = 0; i + 1 < string.value.size(); i += 2) {
                    const char16_t c = char16_t(autorun::LoadLittleU16(&string.value[i]));
                    if (c == 0) break;
                    value.push_back(c);
                }
                return value;
            }
    }
    return std::nullopt;
}

}  // namespace authoring
