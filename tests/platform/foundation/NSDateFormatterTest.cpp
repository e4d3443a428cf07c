#include "platform/foundation/NSDateFormatter.h"

#include <gtest/gtest.h>

namespace {

std::shared_ptr<NSDateFormatter> formatter(const char* pattern) {
    auto made = NSDateFormatter::init();
    made->setDateFormat(pattern);
    return made;
}

// 1994-11-06 08:49:37 GMT, a Sunday.
const NSDate kDate = NSDate::dateWithTimeIntervalSince1970(784111777);

TEST(NSDateFormatterTest, WritesAndReadsBackEachPattern) {
    const struct {
        const char* pattern;
        const char* text;
    } cases[] = {
        {"EEE, dd MMM yyyy HH:mm:ss z", "Sun, 06 Nov 1994 08:49:37 GMT"},
        {"EEE, dd MMM yyyy HH:mm:ss", "Sun, 06 Nov 1994 08:49:37"},
        {"EEEE, dd-MMM-yy HH:mm:ss z", "Sunday, 06-Nov-94 08:49:37 GMT"},
        {"EEE MMM d HH:mm:ss yyyy", "Sun Nov 6 08:49:37 1994"},
        {"yyyy-MM-dd'T'HH:mm:ss", "1994-11-06T08:49:37"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pattern);
        const auto made = formatter(c.pattern);
        EXPECT_EQ(made->stringFromDate(kDate), c.text);
        EXPECT_EQ(made->dateFromString(c.text), kDate);
    }
    // Dates before 1970 and in leap years come out right.
    const auto iso = formatter("yyyy-MM-dd HH:mm:ss");
    for (const char* text : {"1969-12-31 23:59:59", "2000-02-29 12:00:00", "2026-01-01 00:00:00"}) {
        SCOPED_TRACE(text);
        const auto date = iso->dateFromString(text);
        ASSERT_TRUE(date);
        EXPECT_EQ(iso->stringFromDate(*date), text);
    }
}

TEST(NSDateFormatterTest, ReadsOnlyWholeRealDates) {
    const auto http = formatter("EEE, dd MMM yyyy HH:mm:ss z");
    for (const char* text : {"", "Sun, 06 Nov 1994 08:49:37", "Sun, 06 Nov 1994 08:49:37 GMT ",
                             "Sun, 29 Feb 1995 08:49:37 GMT", "Sun, 06 Nov 1994 24:00:00 GMT",
                             "Sun, 06 Nox 1994 08:49:37 GMT", "Xyz, 06 Nov 1994 08:49:37 GMT",
                             "Sun, 06 Nov 1994 08:49:37 CET"}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(http->dateFromString(text));
    }
    // Runs of blanks read as one; case of names does not matter.
    EXPECT_EQ(formatter("EEE MMM d HH:mm:ss yyyy")->dateFromString("sun NOV  6 08:49:37 1994"),
              kDate);
    // A letter it does not know makes the pattern unusable.
    EXPECT_EQ(formatter("yyyy QQ")->stringFromDate(kDate), "");
    EXPECT_FALSE(formatter("yyyy QQ")->dateFromString("1994 04"));
}

} // namespace
