#include "reproducible_time.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "disc_contents.h"

namespace authoring {
namespace {

[[noreturn]] void Refuse(std::string_view text, const char* problem) {
    throw DiscError(std::string(kSourceDateVariable) + ": \"" + std::string(text) + "\" " + problem +
                    " (seconds since 1970-01-01 UTC, 0 to " + std::to_string(kLatestSourceDate) + ")");
}

}  // namespace

std::int64_t ParseSourceDate(std::string_view text) {
    if (text.empty()) Refuse(text, "is empty; unset it or give a date");
    std::int64_t seconds = 0;
    for (const char digit : text) {
        if (digit < '0' || digit > '9') Refuse(text, "is not a number of seconds");
        seconds = seconds * 10 + (digit - '0');
        // Checked on every digit, so that no number of digits can overflow.
        if (seconds > kLatestSourceDate) Refuse(text, "is too late for an ISO 9660 image");
    }
    return seconds;
}

std::optional<std::int64_t> SourceDate() {
    const char* text = std::getenv(kSourceDateVariable);
    if (!text) return std::nullopt;
    return ParseSourceDate(text);
}

std::string IsoDateDigits(std::int64_t seconds) {
    using namespace std::chrono;
    const sys_seconds time{std::chrono::seconds(seconds)};
    const sys_days day = floor<days>(time);
    const year_month_day date{day};
    const hh_mm_ss clock{time - day};
    char digits[20];
    std::snprintf(digits, sizeof digits, "%04d%02u%02u%02d%02d%02d00", int(date.year()),
                  unsigned(date.month()), unsigned(date.day()), int(clock.hours().count()),
                  int(clock.minutes().count()), int(clock.seconds().count()));
    return digits;
}

}  // namespace authoring
