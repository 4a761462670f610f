// The temporary file of an atomic write: removed again unless the write gets to keep it.
#pragma once

#include <cstdio>
#include <string>
#include <utility>

namespace autorun {

class TemporaryFile {
   public:
    TemporaryFile() = default;
    ~TemporaryFile() {
        if (owned_) std::remove(path_.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    // The name to create; a file of that name is not ours until Own() says it was created here.
    void SetPath(std::string path) {
        owned_ = false;
        path_ = std::move(path);
    }
    std::string& path() { return path_; }
    void Own() noexcept { owned_ = true; }
    void Keep() noexcept { owned_ = false; }

   private:
    std::string path_;
    bool owned_ = false;
};

}  // namespace autorun
