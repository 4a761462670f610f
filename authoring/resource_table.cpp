#include "resource_table.h"

#include <algorithm>
#include <map>
#include <set>
#include <tuple>

namespace authoring {
namespace {

using autorun::kDataEntrySize;
using autorun::kDirectoryEntrySize;
using autorun::kDirectoryHeaderSize;
using autorun::kResourceHighBit;
constexpr std::size_t kMaxEntriesPerTable = 0xffff;

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
            target = kResourceHighBit | nameTables_.at(&type->second);
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
            named += (keyField & kResourceHighBit) != 0;
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
                       target = kResourceHighBit | languageTables_.at(&name->second);
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
        return key.isNumber ? key.number : kResourceHighBit | strings_.at(key.text);
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

std::vector<Resource> ReadResources(const Bytes& image, const PeHeaders& pe) {
    auto resources = autorun::ParsePeResources(image, pe);
    if (!resources) throw PeFormatError(resources.problem());
    return std::move(*resources);
}

Bytes BuildResourceSection(const std::vector<Resource>& resources, std::uint32_t sectionRva) {
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
