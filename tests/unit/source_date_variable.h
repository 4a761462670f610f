// Sets SOURCE_DATE_EPOCH for one test and puts back what was there before.
#pragma once

#include <cstdlib>
#include <optional>
#include <string>

#include "reproducible_time.h"

namespace authoring {

class SourceDateVariable {
   public:
    explicit SourceDateVariable(const std::optional<std::string>& value) {
        if (const char* old = std::getenv(kSourceDateVariable)) old_ = old;
        Set(value);
    }
    ~SourceDateVariable() { Set(old_); }
    SourceDateVariable(const SourceDateVariable&) = delete;
    SourceDateVariable& operator=(const SourceDateVariable&) = delete;

   private:
    static void Set(const std::optional<std::string>& value) {
#ifdef _WIN32
        // msvcrt can't hold an empty value: it removes the variable instead.
        _putenv_s(kSourceDateVariable, value ? value->c_str() : "");
#else
        if (value)
            setenv(kSourceDateVariable, value->c_str(), 1);
        else
            unsetenv(kSourceDateVariable);
#endif
    }

    std::optional<std::string> old_;
};

}  // namespace authoring
