// The temporary file of an atomic write: removed again unless the write gets to keep it.
#pragma once

#include <cstdio>
#include <string>
#include <utility>

namespace autorun {

inline void RemoveFile(const std::string& path) {
    std::remove(path.c_str());
}
#ifdef _WIN32
inline void RemoveFile(const std::wstring& path) {
    _wremove(path.c_str());
}
#endif

template <class Text>
class BasicTemporaryFile {
   public:
    BasicTemporaryFile() = default;
    ~BasicTemporaryFile() {
        if (owned_) RemoveFile(path_);
    }
    BasicTemporaryFile(const BasicTemporaryFile&) = delete;
    BasicTemporaryFile& operator=(const BasicTemporaryFile&) = delete;

    // The name to create; a file of that name is not ours until Own() says it was created here.
    void SetPath(Text path) {
        owned_ = false;
        path_ = std::move(path);
    }
    Text& path() { return path_; }
    void Own() noexcept { owned_ = true; }
    void Keep() noexcept { owned_ = false; }

   private:
    Text path_;
    bool owned_ = false;
};

using TemporaryFile = BasicTemporaryFile<std::string>;

}  // namespace autorun
