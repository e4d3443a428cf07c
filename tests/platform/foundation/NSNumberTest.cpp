#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSError.h"
#include "platform/foundation/NSString.h"

#include <gtest/gtest.h>

namespace {

TEST(NSNumberTest, ValuesAndDescriptions) {
    auto yes = NSNumber::numberWithBool(true);
    auto negative = NSNumber::numberWithInteger(-3);
    auto half = NSNumber::numberWithDouble(2.5);
    auto huge = NSNumber::numberWithUnsignedLongLong(18446744073709551615ULL);
    EXPECT_EQ(yes->description(), "1");
    EXPECT_EQ(negative->description(), "-3");
    EXPECT_EQ(half->description(), "2.5");
    EXPECT_EQ(huge->description(), "18446744073709551615");
    EXPECT_EQ(NSNumber::numberWithDouble(3.0)->description(), "3");
    EXPECT_EQ(half->integerValue(), 2);
    EXPECT_TRUE(half->boolValue());
    EXPECT_FALSE(NSNumber::numberWithDouble(0)->boolValue());
    EXPECT_EQ(huge->unsignedLongLongValue(), 18446744073709551615ULL);
    EXPECT_EQ(negative->unsignedLongLongValue(), 18446744073709551613ULL);
    EXPECT_EQ(NSNumber::numberWithDouble(1e30)->integerValue(), INT64_MAX);
    EXPECT_EQ(NSString::stringWithFormat("%@ %@", half, yes), "2.5 1");
}

TEST(NSNumberTest, EqualityComparesValuesAcrossKinds) {
    EXPECT_TRUE(NSNumber::numberWithBool(true)->isEqual(*NSNumber::numberWithInteger(1)));
    EXPECT_TRUE(NSNumber::numberWithInteger(2)->isEqual(*NSNumber::numberWithDouble(2.0)));
    EXPECT_TRUE(NSNumber::numberWithInteger(5)->isEqual(*NSNumber::numberWithUnsignedLongLong(5)));
    EXPECT_FALSE(NSNumber::numberWithInteger(2)->isEqual(*NSNumber::numberWithDouble(2.5)));
    // The same bits, different numbers.
    EXPECT_FALSE(NSNumber::numberWithInteger(-1)->isEqual(
        *NSNumber::numberWithUnsignedLongLong(18446744073709551615ULL)));
    EXPECT_FALSE(
        NSNumber::numberWithInteger(1)->isEqual(*NSError::errorWithDomainCodeUserInfo("d", 1, {})));
}

TEST(NSErrorTest, DescriptionsPreferTheUserInfoText) {
    auto plain = NSError::errorWithDomainCodeUserInfo(NSPOSIXErrorDomain, 2, {});
    EXPECT_EQ(plain->localizedDescription(),
              "The operation couldn\u2019t be completed. (NSPOSIXErrorDomain error 2.)");
    auto told = NSError::errorWithDomainCodeUserInfo(
        NSCocoaErrorDomain, NSPropertyListReadCorruptError,
        {{NSLocalizedDescriptionKey, "The file is damaged."}, {"extra", 1}});
    EXPECT_EQ(told->domain(), "NSCocoaErrorDomain");
    EXPECT_EQ(told->code(), 3840);
    EXPECT_EQ(told->userInfo().at("extra"), PlistValue(1));
    EXPECT_EQ(told->description(),
              "Error Domain=NSCocoaErrorDomain Code=3840 \"The file is damaged.\"");
    // A description that is not text does not count.
    auto odd = NSError::errorWithDomainCodeUserInfo("D", 7, {{NSLocalizedDescriptionKey, 5}});
    EXPECT_EQ(odd->localizedDescription(),
              "The operation couldn\u2019t be completed. (D error 7.)");
}

} // namespace
