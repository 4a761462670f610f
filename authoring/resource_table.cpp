#include "resource_table.h"

#include <algorithm>
#include <map>
#include <set>
#include <tuple>

namespace authoring {
namespace {

constexpr std::uint32_t kHighBit = 0x80000000;
constexpr std::size_t kDirectoryHeaderSize = 16;
constexpr std::size_t kDirectoryEntrySize = 8;
constexpr std::size_t kDataEntrySize = 16;
constexpr std::size_t kMaxEntriesPerTable = 0xffff;

char16_t Upper(char16_t c) {
    return c >= u'a' && c <= u'z' ? char16_t(c - u'a' + u'A') : c;
}

std::u16string UpperText(const std::u16string& text) {
    std::u16string upper = text;
    std::transform(upper.begin(), upper.end(), upper.begin(), Upper);
    return upper;
}

// Reading --------------------------------------------------------------------------------------

class TreeReader {
   public:
    TreeReader(const Bytes& image, const Section& section) : image_(image), section_(section) {}

    void ReadTable(std::uint32_t offset, int level, ResourceKey path[2], std::vector<Resource>& out) {
        const std::size_t table = Position(offset, kDirectoryHeaderSize);
        // Linkers give every table one parent.  Tables shared by many entries would multiply the
        // resources (a few kilobytes could stand for millions of them) and, shared across levels,
        // make no tree at all.
        if (!tables_.insert(offset).second)
            throw PeFormatError("damaged resource tree: a directory table is reached twice");
        const std::size_t count = std::size_t(ReadU16(image_, table + 12)) + ReadU16(image_, table + 14);
        for (std::size_t i = 0; i < count; ++i) {
            const std::size_t entry =
                Position(offset + kDirectoryHeaderSize + i * kDirectoryEntrySize, kDirectoryEntrySize);
            const ResourceKey key = ReadKey(ReadU32(image_, entry));
            const std::uint32_t target = ReadU32(image_, entry + 4);
            const bool isTable = target & kHighBit;
            if (isTable != (level < 2)) throw PeFormatError("damaged resource tree: unexpected nesting");
            if (level < 2) {
                path[level] = key;
                ReadTable(target & ~kHighBit, level + 1, path, out);
            } else {
                if (!key.isNumber) throw PeFormatError("damaged resource tree: a language given as a name");
                out.push_back(ReadData(target, path[0], path[1], key.number));
            }
        }
    }

   private:
    // The file offset of `size` bytes at `offset` within the section.
    std::size_t Position(std::uint32_t offset, std::size_t size) const {
        if (offset > section_.rawSize || size > section_.rawSize - offset)
            throw PeFormatError("damaged resource tree: an offset points outside the section");
        return section_.rawOffset + offset;
    }

    ResourceKey ReadKey(std::uint32_t field) const {
        if (!(field & kHighBit)) {
            if (field > 0xffff) throw PeFormatError("damaged resource tree: an identifier above 65535");
            return ResourceKey::Number(std::uint16_t(field));
        }
        const std::size_t at = Position(field & ~kHighBit, 2);
        const std::uint16_t length = ReadU16(image_, at);
        Position((field & ~kHighBit) + 2, std::size_t(length) * 2);
        ResourceKey key;
        key.isNumber = false;
        for (std::uint16_t i = 0; i < length; ++i)
            key.text.push_back(char16_t(ReadU16(image_, at + 2 + 2 * i)));
        return key;
    }

    Resource ReadData(std::uint32_t offset, const ResourceKey& type, const ResourceKey& name,
                      std::uint16_t language) {
        const std::size_t entry = Position(offset, kDataEntrySize);
        const std::uint32_t rva = ReadU32(image_, entry);
        const std::uint32_t size = ReadU32(image_, entry + 4);
        if (rva < section_.virtualAddress)
            throw PeFormatError("damaged resource tree: data outside the resource section");
        const std::size_t at = Position(rva - section_.virtualAddress, size);
        // Each resource's data has bytes of its own, so together they fit the section; overlapping
        // data would multiply what is copied just as shared tables would.
        dataBytes_ += size;
        if (dataBytes_ > section_.rawSize)
            throw PeFormatError("damaged resource tree: the resources' data overlap");
        Resource resource{type, name, language, ReadU32(image_, entry + 8), {}};
        resource.data.assign(image_.begin() + at, image_.begin() + at + size);
        return resource;
    }

    const Bytes& image_;
    const Section& section_;
    std::set<std::uint32_t> tables_;
    std::uint64_t dataBytes_ = 0;
};

// Writing --------------------------------------------------------------------------------------

struct KeyOrder {
    bool operator()(const ResourceKey& a, const ResourceKey& b) const { return SortsBefore(a, b); }
};
using LanguageTable = std::map<std::uint16_t, const Resource*>;
using NameTable = std::map<ResourceKey, LanguageTable, KeyOrder>;
using TypeTable = std::map<ResourceKey, NameTable, KeyOrder>;

// Offsets are worked out first, then everything is written in one pass.
class SectionBuilder {
   public:
    SectionBuilder(const TypeTable& types, std::uint32_t sectionRva) : types_(types), rva_(sectionRva) {}

    Bytes Build() {
        Plan();
        out_.assign(dataStart_, 0);
        WriteTable(0, types_.size(), [&](std::size_t index, std::uint32_t& keyField, std::uint32_t& target) {
            auto type = std::next(types_.begin(), long(index));
            keyField = KeyField(type->first);
            target = kHighBit | nameTables_.at(&type->second);
        });
        for (const auto& type : types_) {
            WriteNameTable(type.second);
        }
        WriteStrings();
        WriteData();
        return std::move(out_);
    }

   private:
    template <typename Fill>
    void WriteTable(std::size_t at, std::size_t count, Fill fill) {
        if (count > kMaxEntriesPerTable) throw PeFormatError("too many resources for one directory table");
        std::size_t named = 0;
        for (std::size_t i = 0; i < count; ++i) {
            std::uint32_t keyField = 0, target = 0;
            fill(i, keyField, target);
            named += (keyField & kHighBit) != 0;
            WriteU32(out_, at + kDirectoryHeaderSize + i * kDirectoryEntrySize, keyField);
            WriteU32(out_, at + kDirectoryHeaderSize + i * kDirectoryEntrySize + 4, target);
        }
        WriteU16(out_, at + 12, std::uint16_t(named));
        WriteU16(out_, at + 14, std::uint16_t(count - named));
    }

    void WriteNameTable(const NameTable& names) {
        WriteTable(nameTables_.at(&names), names.size(),
                   [&](std::size_t index, std::uint32_t& keyField, std::uint32_t& target) {
                       auto name = std::next(names.begin(), long(index));
                       keyField = KeyField(name->first);
                       target = kHighBit | languageTables_.at(&name->second);
                   });
        for (const auto& name : names) {
            const LanguageTable& languages = name.second;
            WriteTable(languageTables_.at(&languages), languages.size(),
                       [&](std::size_t index, std::uint32_t& keyField, std::uint32_t& target) {
                           auto language = std::next(languages.begin(), long(index));
                           keyField = language->first;
                           target = dataEntries_.at(language->second);
                       });
        }
    }

    void Plan() {
        std::size_t at = TableSize(types_.size());
        for (const auto& type : types_) {
            nameTables_[&type.second] = std::uint32_t(at);
            at += TableSize(type.second.size());
        }
        for (const auto& type : types_)
            for (const auto& name : type.second) {
                languageTables_[&name.second] = std::uint32_t(at);
                at += TableSize(name.second.size());
            }
        for (const auto& type : types_)
            for (const auto& name : type.second)
                for (const auto& language : name.second) {
                    dataEntries_[language.second] = std::uint32_t(at);
                    at += kDataEntrySize;
                }
        for (const auto& type : types_) {
            PlanString(type.first, at);
            for (const auto& name : type.second) PlanString(name.first, at);
        }
        at = AlignUp(std::uint32_t(at), 8);
        dataStart_ = at;
    }

    void PlanString(const ResourceKey& key, std::size_t& at) {
        if (key.isNumber || strings_.count(key.text)) return;
        strings_[key.text] = std::uint32_t(at);
        at += 2 + 2 * key.text.size();
    }

    std::uint32_t KeyField(const ResourceKey& key) const {
        return key.isNumber ? key.number : kHighBit | strings_.at(key.text);
    }

    void WriteStrings() {
        for (const auto& string : strings_) {
            WriteU16(out_, string.second, std::uint16_t(string.first.size()));
            for (std::size_t i = 0; i < string.first.size(); ++i)
                WriteU16(out_, string.second + 2 + 2 * i, string.first[i]);
        }
    }

    // Each resource's data starts on an 8-byte boundary, as the linkers place it.
    void WriteData() {
        for (const auto& entry : dataEntries_) {
            const Resource& resource = *entry.first;
            PadTo(out_, 8);
            WriteU32(out_, entry.second, rva_ + std::uint32_t(out_.size()));
            WriteU32(out_, entry.second + 4, std::uint32_t(resource.data.size()));
            WriteU32(out_, entry.second + 8, resource.codePage);
            out_.insert(out_.end(), resource.data.begin(), resource.data.end());
        }
    }

    static std::size_t TableSize(std::size_t entries) {
        return kDirectoryHeaderSize + entries * kDirectoryEntrySize;
    }

    const TypeTable& types_;
    const std::uint32_t rva_;
    std::map<const NameTable*, std::uint32_t> nameTables_;
    std::map<const LanguageTable*, std::uint32_t> languageTables_;
    std::map<const Resource*, std::uint32_t> dataEntries_;
    std::map<std::u16string, std::uint32_t> strings_;
    std::size_t dataStart_ = 0;
    Bytes out_;
};

}  // namespace

ResourceKey ResourceKey::Text(const std::string& ascii) {
    ResourceKey key;
    key.isNumber = false;
    for (char c : ascii) key.text.push_back(Upper(char16_t(static_cast<unsigned char>(c))));
    return key;
}

bool ResourceKey::operator==(const ResourceKey& other) const {
    return isNumber == other.isNumber &&
           (isNumber ? number == other.number : UpperText(text) == UpperText(other.text));
}

std::string ResourceKey::Describe() const {
    if (isNumber) return std::to_string(number);
    std::string ascii;
    for (char16_t c : text) ascii.push_back(c < 0x80 ? char(c) : '?');
    return '"' + ascii + '"';
}

bool SortsBefore(const ResourceKey& a, const ResourceKey& b) {
    if (a.isNumber != b.isNumber) return !a.isNumber;
    if (a.isNumber) return a.number < b.number;
    return UpperText(a.text) < UpperText(b.text);
}

std::vector<Resource> ReadResources(const Bytes& image, const PeHeaders& pe) {
    const DataDirectory directory = pe.directories[kResourceDirectory];
    std::vector<Resource> resources;
    if (directory.rva == 0) return resources;
    const int index = pe.SectionOf(directory.rva);
    if (index < 0) throw PeFormatError("the resource directory lies in no section");
    Section section = pe.sections[std::size_t(index)];
    // The tree is read relative to the directory's start, which is normally the section's.
    const std::uint32_t skip = directory.rva - section.virtualAddress;
    if (skip > section.rawSize) throw PeFormatError("the resource directory lies beyond its section's data");
    section.rawOffset += skip;
    section.rawSize -= skip;
    section.virtualAddress += skip;
    ResourceKey path[2];
    try {
        TreeReader(image, section).ReadTable(0, 0, path, resources);
    } catch (const TruncatedData& error) {
        throw PeFormatError(std::string("damaged resource tree: ") + error.what());
    }
    return resources;
}

Bytes BuildResourceSection(std::vector<Resource> resources, std::uint32_t sectionRva) {
    TypeTable types;
    for (const Resource& resource : resources) {
        const Resource*& slot = types[resource.type][resource.name][resource.language];
        if (slot)
            throw PeFormatError("two resources of type " + resource.type.Describe() + ", name " +
                                resource.name.Describe() + " and the same language");
        slot = &resource;
    }
    return SectionBuilder(types, sectionRva).Build();
}

std::vector<const Resource*> FindResources(const std::vector<Resource>& resources, const ResourceKey& type,
                                           const ResourceKey& name) {
    std::vector<const Resource*> found;
    for (const Resource& resource : resources)
        if (resource.type == type && resource.name == name) found.push_back(&resource);
    return found;
}

}  // namespace authoring
