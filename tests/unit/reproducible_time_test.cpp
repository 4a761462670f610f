// SOURCE_DATE_EPOCH as the tool reads it: digits only, within what an ISO image can date, and the date
// that a volume descriptor carries.
#include <gtest/gtest.h>

#include "disc_contents.h"
#include "reproducible_time.h"
#include "source_date_variable.h"

namespace authoring {
namespace {

TEST(SourceDate, ReadsSecondsUpToTheLastDateAnImageHolds) {
    EXPECT_EQ(ParseSourceDate("0"), 0);
    EXPECT_EQ(ParseSourceDate("1700000000"), 1700000000);
    EXPECT_EQ(ParseSourceDate("0001700000000"), 1700000000);
    EXPECT_EQ(ParseSourceDate(std::to_string(kLatestSourceDate)), kLatestSourceDate);
}

TEST(SourceDate, RefusesWhatIsNotADateInOneLineNamingTheVariable) {
    const std::pair<const char*, const char*> refusals[] = {
        {"", "is empty"},
        {"-1", "is not a number"},
        {"+5", "is not a number"},
        {" 17", "is not a number"},
        {"17 ", "is not a number"},
        {"1.5", "is not a number"},
        {"0x10", "is not a number"},
        {"yesterday", "is not a number"},
        {"5869584000", "is too late"},
        // Enough digits to overflow 64 bits if they were all read first.
        {"99999999999999999999999999", "is too late"},
    };
    for (const auto& [text, problem] : refusals) {
        try {
            ParseSourceDate(text);
            ADD_FAILURE() << "accepted \"" << text << "\"";
        } catch (const DiscError& error) {
            const std::string message = error.what();
            EXPECT_EQ(message.rfind(std::string("SOURCE_DATE_EPOCH: \"") + text + "\" " + problem, 0), 0u)
                << message;
            EXPECT_EQ(message.find('\n'), std::string::npos) << message;
        }
    }
}

TEST(SourceDate, ComesFromTheEnvironmentOnlyWhenSet) {
    {
        SourceDateVariable unset(std::nullopt);
        EXPECT_EQ(SourceDate(), std::nullopt);
    }
    {
        SourceDateVariable set("951782400");
        EXPECT_EQ(SourceDate(), 951782400);
    }
    SourceDateVariable bad("soon");
    EXPECT_THROW(SourceDate(), DiscError);
}

TEST(SourceDate, VolumeDescriptorDigitsAreUtc) {
    EXPECT_EQ(IsoDateDigits(0), "1970010100000000");
    EXPECT_EQ(IsoDateDigits(951782400), "2000022900000000");  // a leap day
    EXPECT_EQ(IsoDateDigits(1700000000), "2023111422132000");
    EXPECT_EQ(IsoDateDigits(kLatestSourceDate), "2155123123595900");
}

}  // namespace
}  // namespace authoring
