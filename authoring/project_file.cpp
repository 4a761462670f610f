#include "project_file.h"

#include <nlohmann/json.hpp>
#include <set>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "atomic_write.h"
#include "disc_contents.h"
#include "disc_media.h"
#include "folder_tree.h"
#include "text_encoding.h"
#include "utf_codec.h"

namespace authoring {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::ordered_json;

constexpr char kFormat[] = "autorun-disc project";
constexpr int kVersion = 1;

// What is wrong with the file's contents; the caller puts the file's name in front.
class Problem : public std::runtime_error {
   public:
    using std::runtime_error::runtime_error;
};

// Paths to files the author picked are relative to the project file; names inside the game folder
// and plain texts are stored as they are.
enum class Kind { kPath, kText };

// Every text a project holds, in the file's order, with where it is stored.  `group` is nullptr for
// the top level.  The output's path is not among them: its group holds its kind and --force too.
template <typename Project, typename Visit>
void VisitTexts(Project& project, Visit visit) {
    visit(nullptr, "game", Kind::kPath, project.gameFolder);
    visit(nullptr, "exe", Kind::kText, project.exe);
    visit(nullptr, "linuxExe", Kind::kText, project.linuxExe);
    visit(nullptr, "linuxLauncher", Kind::kPath, project.linuxLauncher);
    visit(nullptr, "label", Kind::kText, project.label);
    visit(nullptr, "media", Kind::kText, project.media);
    auto& launcher = project.launcher;
    visit("launcher", "file", Kind::kPath, launcher.launcher);
    visit("launcher", "splash", Kind::kPath, launcher.splash);
    visit("launcher", "icon", Kind::kPath, launcher.icon);
    visit("launcher", "product", Kind::kText, launcher.product);
    visit("launcher", "company", Kind::kText, launcher.company);
    visit("signing", "key", Kind::kPath, launcher.signing.pfx);
    visit("signing", "passwordFile", Kind::kPath, launcher.signing.passwordFile);
    visit("signing", "timestampUrl", Kind::kText, launcher.signing.timestampUrl);
}

const std::set<std::string> kTopKeys = {"format",   "version",       "game",  "exe",
                                        "linuxExe", "linuxLauncher", "label", "media",
                                        "launcher", "signing",       "output"};
const std::set<std::string> kLauncherKeys = {"file", "splash", "icon", "product", "company"};
const std::set<std::string> kSigningKeys = {"key", "passwordFile", "timestampUrl"};
const std::set<std::string> kOutputKeys = {"kind", "path", "replace"};

// A text from the file or the project in a message: in JSON's quotes and escapes, so that the message
// stays one line whatever the text holds, in the system's encoding.
std::string Quoted(const std::string& utf8) {
    const std::string json = Json(utf8).dump(-1, ' ', false, Json::error_handler_t::replace);
    return FromUtf16(autorun::Utf16FromUtf8(json, autorun::InvalidText::kReplace));
}

std::string Name(const char* group, const std::string& key) {
    return Quoted((group ? std::string(group) + "." : std::string()) + key);
}

bool IsUtf8(std::string_view text) {
    using autorun::InvalidText;
    return autorun::Utf8FromUtf16(autorun::Utf16FromUtf8(text, InvalidText::kReplace),
                                  InvalidText::kReplace) == text;
}

std::string MediaChoices() {
    std::string names;
    for (const Medium& medium : Media()) names += (names.empty() ? "" : ", ") + std::string(medium.option);
    return names;
}

// --- Reading ---

void RequireUtf8Lines(const std::string& text) {
    std::size_t line = 1;
    for (std::size_t start = 0; start <= text.size(); ++line) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        if (!IsUtf8(std::string_view(text).substr(start, end - start)))
            throw Problem("line " + std::to_string(line) + ": not UTF-8 text (save the project as UTF-8)");
        start = end + 1;
    }
}

// The parser keeps the last of two equal keys; a hand-edited file with two would make a disc from
// whichever came last, so a repeated key is refused as it is read.
class RepeatedKeys {
   public:
    bool operator()(int, Json::parse_event_t event, Json& parsed) {
        switch (event) {
            case Json::parse_event_t::object_start:
                objects_.push_back({objects_.empty() ? "" : objects_.back().prefix + lastKey_ + ".", {}});
                break;
            case Json::parse_event_t::object_end:
                objects_.pop_back();
                break;
            case Json::parse_event_t::key:
                lastKey_ = parsed.get<std::string>();
                if (!objects_.empty() && !objects_.back().keys.insert(lastKey_).second)
                    throw Problem(Quoted(objects_.back().prefix + lastKey_) + " appears twice");
                break;
            default:
                break;
        }
        return true;
    }

   private:
    struct Object {
        std::string prefix;
        std::set<std::string> keys;
    };
    std::vector<Object> objects_;
    std::string lastKey_;
};

Json ParseJson(const std::string& text) {
    try {
        return Json::parse(text, RepeatedKeys());
    } catch (const Json::exception& error) {
        // "[json.exception.parse_error.101] parse error at line 3, column 5: ..." without the prefixes;
        // a number too big for a double is an out_of_range error, without a place.
        std::string what = error.what();
        for (const std::string_view prefix : {std::string_view("] "), std::string_view("parse error at ")}) {
            const std::size_t at = what.find(prefix);
            if (at != std::string::npos) what.erase(0, at + prefix.size());
        }
        throw Problem("not JSON: " + what);
    }
}

void RequireType(const Json& value, Json::value_t type, const std::string& name) {
    const bool matches =
        value.type() == type || (type == Json::value_t::number_integer && value.is_number_integer());
    if (matches) return;
    const std::string wanted = type == Json::value_t::object    ? "an object"
                               : type == Json::value_t::boolean ? "true or false"
                               : type == Json::value_t::string  ? "a string"
                                                                : "a whole number";
    throw Problem(name + " must be " + wanted + ", not " + (value.is_null() ? "null" : value.type_name()));
}

void RequireKnownKeys(const Json& object, const std::set<std::string>& known, const char* group) {
    for (const auto& item : object.items())
        if (!known.count(item.key())) throw Problem("unknown key " + Name(group, item.key()));
}

// Checks the marker and the version before anything else: a later format may have keys this one lacks.
void RequireFormat(const Json& json) {
    if (!json.is_object()) throw Problem(std::string("not a project: the file holds ") + json.type_name());
    if (!json.contains("format")) throw Problem("not a project: missing \"format\"");
    RequireType(json["format"], Json::value_t::string, "\"format\"");
    if (json["format"] != kFormat)
        throw Problem("not a project: \"format\" is " + Quoted(json["format"].get<std::string>()) + ", not " +
                      Quoted(kFormat));
    if (!json.contains("version")) throw Problem("missing \"version\"");
    RequireType(json["version"], Json::value_t::number_integer, "\"version\"");
    if (json["version"] != kVersion)
        throw Problem("format version " + json["version"].dump() + " is not one this autorun-disc reads (" +
                      std::to_string(kVersion) + "); was it written by a later one?");
    RequireKnownKeys(json, kTopKeys, nullptr);
    const std::pair<const char*, const std::set<std::string>*> groups[] = {
        {"launcher", &kLauncherKeys}, {"signing", &kSigningKeys}, {"output", &kOutputKeys}};
    for (const auto& [group, keys] : groups) {
        if (!json.contains(group)) continue;
        RequireType(json[group], Json::value_t::object, Name(nullptr, group));
        RequireKnownKeys(json[group], *keys, group);
    }
}

class ProjectReader {
   public:
    ProjectReader(const Json& json, const fs::path& folder) : json_(json), folder_(folder) {}

    DiscProject Read() {
        DiscProject project;
        VisitTexts(project, [this](const char* group, const char* key, Kind kind, auto& value) {
            if (std::optional<std::string> text = Text(group, key, kind)) value = std::move(*text);
        });
        if (project.media && !FindMedium(*project.media))
            throw Problem("\"media\" is " + Quoted(*project.media) + ", not one of " + MediaChoices());
        ReadOutput(project);
        return project;
    }

   private:
    const Json* Find(const char* group, const char* key) const {
        if (group && !json_.contains(group)) return nullptr;
        const Json& object = group ? json_.at(group) : json_;
        const auto found = object.find(key);
        if (found == object.end() || found->is_null()) return nullptr;
        return &*found;
    }

    std::optional<std::string> Text(const char* group, const char* key, Kind kind) const {
        const Json* value = Find(group, key);
        if (!value) return std::nullopt;
        RequireType(*value, Json::value_t::string, Name(group, key));
        std::string text = value->get<std::string>();
        if (kind == Kind::kPath && !text.empty() && FilePath(text).is_relative())
            text = NativePathText((folder_ / FilePath(text)).lexically_normal());
        return text;
    }

    void ReadOutput(DiscProject& project) const {
        if (const Json* replace = Find("output", "replace")) {
            RequireType(*replace, Json::value_t::boolean, Name("output", "replace"));
            project.replace = replace->get<bool>();
        }
        if (const std::optional<std::string> kind = Text("output", "kind", Kind::kText)) {
            if (*kind != "iso" && *kind != "folder")
                throw Problem("\"output.kind\" is " + Quoted(*kind) + ", not \"iso\" or \"folder\"");
            project.outputKind = *kind == "iso" ? OutputKind::kIso : OutputKind::kFolder;
        } else if (Find("output", "path")) {
            throw Problem("missing \"output.kind\" (\"iso\" or \"folder\") for \"output.path\"");
        }
        project.output = Text("output", "path", Kind::kPath).value_or("");
    }

    const Json& json_;
    fs::path folder_;
};

// --- Writing ---

class ProjectWriter {
   public:
    explicit ProjectWriter(const fs::path& file)
        : folder_(autorun::AbsolutePath(file).parent_path().lexically_normal()) {}

    Json Write(const DiscProject& project) const {
        Json json;
        json["format"] = kFormat;
        json["version"] = kVersion;
        VisitTexts(project, [&](const char* group, const char* key, Kind kind, const auto& value) {
            const std::string* text = Given(value);
            if (!text) return;
            Json& object = group ? json[group] : json;
            object[key] = Stored(*text, kind, Name(group, key));
        });
        if (!project.output.empty() || project.replace) {
            Json& output = json["output"];
            output["kind"] = project.outputKind == OutputKind::kIso ? "iso" : "folder";
            if (!project.output.empty())
                output["path"] = Stored(project.output, Kind::kPath, Name("output", "path"));
            output["replace"] = project.replace;
        }
        return json;
    }

   private:
    static const std::string* Given(const std::string& value) { return value.empty() ? nullptr : &value; }
    static const std::string* Given(const std::optional<std::string>& value) {
        return value ? &*value : nullptr;
    }

    std::string Stored(const std::string& text, Kind kind, const std::string& name) const {
        const std::string utf8 = kind == Kind::kPath ? StoredPath(text) : text;
        if (!IsUtf8(utf8)) throw Problem("cannot store " + name + ": " + Quoted(utf8) + " is not UTF-8 text");
        return utf8;
    }

    // Relative to the project's folder when inside it, with "/" between names; absolute otherwise.
    std::string StoredPath(const std::string& text) const {
        const fs::path path = autorun::AbsolutePath(FilePath(text)).lexically_normal();
        const fs::path relative = path.lexically_relative(folder_);
        if (relative.empty() || *relative.begin() == "..") return PathText(path);
        std::string joined;
        for (const fs::path& part : relative) joined += (joined.empty() ? "" : "/") + PathText(part);
        return joined;
    }

    fs::path folder_;
};

}  // namespace

DiscProject ReadProjectFile(const fs::path& file) {
    const Bytes bytes = ReadFileAt(file);
    try {
        const std::string text(bytes.begin(), bytes.end());
        RequireUtf8Lines(text);
        const Json json = ParseJson(text);
        RequireFormat(json);
        return ProjectReader(json, file.parent_path()).Read();
    } catch (const Problem& problem) {
        throw DiscError(PathText(file) + ": " + problem.what());
    }
}

void WriteProjectFile(const DiscProject& project, const fs::path& file) {
    try {
        const std::string text = ProjectWriter(file).Write(project).dump(2) + "\n";
        autorun::WriteFileAtomically(file, std::vector<std::uint8_t>(text.begin(), text.end()));
    } catch (const Problem& problem) {
        throw DiscError(PathText(file) + ": " + problem.what());
    } catch (const autorun::FileError& error) {
        throw DiscError(PathText(file) + ": " + error.what());
    } catch (const fs::filesystem_error& error) {
        throw DiscError(PathText(file) + ": " + error.code().message());
    }
}

}  // namespace authoring
