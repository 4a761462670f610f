// A fuzz input as a command line: the arguments separated by NUL bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace fuzzing {

// No bytes at all stand for no arguments at all.
inline std::vector<std::string> SplitAtNul(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return {};
    std::vector<std::string> args(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0)
            args.emplace_back();
        else
            args.back() += static_cast<char>(data[i]);
    }
    return args;
}

}  // namespace fuzzing
