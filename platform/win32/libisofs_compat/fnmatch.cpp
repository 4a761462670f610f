// Shell wildcards as POSIX fnmatch() matches them, for libisofs's exclusion patterns in the MinGW build.
#include <fnmatch.h>

namespace {

// Whether `at` is a "." that only a "." in the pattern may match.
bool IsLeadingPeriod(const char* text, const char* at, int flags) {
    if (!(flags & FNM_PERIOD) || *at != '.') return false;
    return at == text || ((flags & FNM_PATHNAME) && at[-1] == '/');
}

// Matches the bracket expression after "[" against `c`; returns where it ends, or nullptr when it does
// not end (then "[" is an ordinary character).
const char* MatchBracket(const char* pattern, char c, int flags, bool& matched) {
    const bool negated = *pattern == '!' || *pattern == '^';
    if (negated) ++pattern;
    matched = false;
    bool first = true;
    while (*pattern && (*pattern != ']' || first)) {
        first = false;
        char low = *pattern++;
        if (low == '\\' && !(flags & FNM_NOESCAPE) && *pattern) low = *pattern++;
        char high = low;
        if (*pattern == '-' && pattern[1] && pattern[1] != ']') {
            high = pattern[1];
            pattern += 2;
            if (high == '\\' && !(flags & FNM_NOESCAPE) && *pattern) high = *pattern++;
        }
        if (static_cast<unsigned char>(low) <= static_cast<unsigned char>(c) &&
            static_cast<unsigned char>(c) <= static_cast<unsigned char>(high))
            matched = true;
    }
    if (*pattern != ']') return nullptr;
    if (negated) matched = !matched;
    return pattern + 1;
}

bool Match(const char* pattern, const char* text, const char* start, int flags) {
    for (;; ++pattern, ++text) {
        switch (*pattern) {
            case '\0':
                return *text == '\0';
            case '?':
                if (!*text || ((flags & FNM_PATHNAME) && *text == '/') || IsLeadingPeriod(start, text, flags))
                    return false;
                break;
            case '*': {
                while (pattern[1] == '*') ++pattern;
                if (IsLeadingPeriod(start, text, flags)) return false;
                for (const char* rest = text;; ++rest) {
                    if (Match(pattern + 1, rest, start, flags)) return true;
                    if (!*rest || ((flags & FNM_PATHNAME) && *rest == '/')) return false;
                }
            }
            case '[': {
                if (!*text || ((flags & FNM_PATHNAME) && *text == '/') || IsLeadingPeriod(start, text, flags))
                    return false;
                bool matched = false;
                const char* end = MatchBracket(pattern + 1, *text, flags, matched);
                if (end) {
                    if (!matched) return false;
                    pattern = end - 1;
                    break;
                }
                if (*text != '[') return false;
                break;
            }
            case '\\':
                if (!(flags & FNM_NOESCAPE) && pattern[1]) ++pattern;
                [[fallthrough]];
            default:
                if (*text != *pattern) return false;
        }
    }
}

}  // namespace

extern "C" int autorun_fnmatch(const char* pattern, const char* text, int flags) {
    return Match(pattern, text, text, flags) ? 0 : FNM_NOMATCH;
}
