// Fuzzes the autorun.inf reader with any bytes in place of the file on a disc: keys come out in lower
// case without surrounding blanks, and what was read, written again, reads back the same.
#include <cstddef>
#include <cstdint>
#include <string>

#include "autorun_inf.h"
#include "fuzz_require.h"

namespace {

using authoring::Bytes;
using fuzzing::Require;

std::string ValueOf(const std::map<std::string, std::string>& keys, const char* key) {
    const auto found = keys.find(key);
    return found == keys.end() ? std::string() : found->second;
}

bool Blank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

void CheckKey(const std::string& key, const std::string& value) {
    Require(key.find('\n') == std::string::npos && value.find('\n') == std::string::npos);
    for (char c : key) Require(!(c >= 'A' && c <= 'Z'));
    if (!key.empty()) Require(!Blank(key.front()) && !Blank(key.back()));
    if (!value.empty()) Require(!Blank(value.front()) && !Blank(value.back()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto keys = authoring::ParseAutorunInf(Bytes(data, data + size));
    for (const auto& [key, value] : keys) CheckKey(key, value);

    authoring::AutorunInf inf;
    inf.open = ValueOf(keys, "open");
    inf.icon = ValueOf(keys, "icon");
    inf.label = ValueOf(keys, "label");
    inf.action = ValueOf(keys, "action");
    const auto reread = authoring::ParseAutorunInf(authoring::BuildAutorunInf(inf));
    Require(ValueOf(reread, "open") == inf.open && ValueOf(reread, "icon") == inf.icon &&
            ValueOf(reread, "label") == inf.label && ValueOf(reread, "action") == inf.action);
    return 0;
}
