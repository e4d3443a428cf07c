#include "platform/foundation/ErrorOr.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

constexpr const char* kDomain = "TestErrorDomain";

ErrorOr<int> half(int number) {
    if (number % 2 != 0) {
        return makeError(kDomain, 7, std::to_string(number) + " is odd");
    }
    return number / 2;
}

// Hands an error on unchanged, as callers do.
ErrorOr<std::string> describedHalf(int number) {
    auto result = half(number);
    if (result.hasError()) {
        return result.error();
    }
    return "half is " + std::to_string(result.value());
}

TEST(ErrorOr, HoldsAValueOrAnErrorWithDomainCodeAndDescription) {
    const auto value = half(8);
    ASSERT_FALSE(value.hasError());
    EXPECT_EQ(value.error(), nullptr);
    EXPECT_EQ(value.value(), 4);

    const auto failure = half(3);
    ASSERT_TRUE(failure.hasError());
    EXPECT_EQ(failure.error()->domain(), kDomain);
    EXPECT_EQ(failure.error()->code(), 7);
    EXPECT_EQ(failure.error()->localizedDescription(), "3 is odd");
    EXPECT_EQ(failure.error()->description(), "Error Domain=TestErrorDomain Code=7 \"3 is odd\"");
}

TEST(ErrorOr, AnErrorIsHandedOnUnchangedAndAValueIsUsed) {
    const auto outer = describedHalf(5);
    ASSERT_TRUE(outer.hasError());
    EXPECT_EQ(outer.error()->description(), half(5).error()->description());
    EXPECT_EQ(describedHalf(6).value(), "half is 3");
}

TEST(ErrorOr, TheValueOfATemporaryIsMovedOut) {
    auto make = [] { return ErrorOr<std::unique_ptr<int>>(std::make_unique<int>(42)); };
    std::unique_ptr<int> owned = make().value();
    ASSERT_NE(owned, nullptr);
    EXPECT_EQ(*owned, 42);
}

TEST(ErrorOr, VoidIsSuccessOrAnError) {
    const ErrorOr<void> done;
    EXPECT_FALSE(done.hasError());
    EXPECT_EQ(done.error(), nullptr);
    const ErrorOr<void> failed = makeError(kDomain, 1, "no");
    ASSERT_TRUE(failed.hasError());
    EXPECT_EQ(failed.error()->localizedDescription(), "no");
}

TEST(ErrorOrDeathTest, TheValueOfAnErrorStopsTheProgramNamingTheError) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH((void)half(1).value(), "TestErrorDomain Code=7 \"1 is odd\"");
}

} // namespace
