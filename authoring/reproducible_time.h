// SOURCE_DATE_EPOCH, the reproducible-builds convention: when it is set, every date an output carries is
// that one, so that the same inputs make the same bytes on any machine, at any time.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace authoring {

inline constexpr const char* kSourceDateVariable = "SOURCE_DATE_EPOCH";

// ISO 9660's directory records count the years from 1900 in one byte: 2155-12-31 23:59:59 UTC is the
// latest date every record of an image can hold.
inline constexpr std::int64_t kLatestSourceDate = 5869583999;

// Seconds since 1970-01-01 00:00:00 UTC, written as decimal digits only.  Throws DiscError naming the
// variable for anything else, and for dates before 1970 or after kLatestSourceDate.
std::int64_t ParseSourceDate(std::string_view text);

// The variable's date; nothing when it is not set.  Throws DiscError when it is set but not a date.
std::optional<std::int64_t> SourceDate();

// The date in UTC as ISO 9660 writes it in a volume descriptor, without the time zone:
// YYYYMMDDhhmmss and two digits of hundredths.
std::string IsoDateDigits(std::int64_t seconds);

}  // namespace authoring
