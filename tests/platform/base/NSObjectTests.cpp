#include "platform/base/NSObject.h"

#include <gtest/gtest.h>

namespace {
TEST(NSObjectAssociatedObjects, AttachReplaceRemoveAndReleaseWithTheOwner) {
    auto owner = std::make_shared<NSObject>();
    auto first = std::make_shared<NSObject>();
    auto second = std::make_shared<NSObject>();
    EXPECT_EQ(owner->associatedObject("a"), nullptr);

    owner->setAssociatedObject("a", first);
    owner->setAssociatedObject("b", second);
    EXPECT_EQ(owner->associatedObject("a"), first);
    EXPECT_EQ(owner->associatedObject("b"), second);
    owner->setAssociatedObject("a", second);
    EXPECT_EQ(owner->associatedObject("a"), second);
    owner->setAssociatedObject("a", nullptr);
    EXPECT_EQ(owner->associatedObject("a"), nullptr);
    EXPECT_EQ(owner->associatedObject("b"), second);

    // Held strongly while the owner lives, let go with it.
    std::weak_ptr<NSObject> attached = first;
    owner->setAssociatedObject("c", std::move(first));
    EXPECT_FALSE(attached.expired());
    owner.reset();
    EXPECT_TRUE(attached.expired());
}
} // namespace
