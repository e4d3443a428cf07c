#include "ads/signals/ZADWeakReference.h"

#include "platform/foundation/NSString.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class Participant : public NSObject {
    NS_OBJECT(Participant)
public:
    static std::shared_ptr<Participant> init() { return make<Participant>(); }
    std::string description() const override { return "<Participant>"; }

private:
    Participant() = default;
};

TEST(ZADWeakReferenceTest, ANullObjectGivesNoReference) {
    EXPECT_EQ(ZADWeakReference::initWithObject(nullptr), nullptr);
    EXPECT_FALSE(ZADWeakReference::setContainsObject({}, nullptr));
}

TEST(ZADWeakReferenceTest, FreshReferencesFindEarlierOnesEvenAfterTheObjectIsGone) {
    auto object = Participant::init();
    auto other = Participant::init();
    auto earlier = ZADWeakReference::initWithObject(object);
    ZADWeakReference::Set participants{earlier};

    EXPECT_TRUE(ZADWeakReference::setContainsObject(participants, object));
    EXPECT_FALSE(ZADWeakReference::setContainsObject(participants, other));
    EXPECT_EQ(earlier->weakObject(), object) << "the reference does not copy or wrap";

    auto fresh = ZADWeakReference::initWithObject(object);
    EXPECT_NE(fresh, earlier);
    EXPECT_TRUE(fresh->isEqual(*earlier));
    EXPECT_EQ(fresh->hash(), earlier->hash());
    EXPECT_FALSE(fresh->isEqual(*ZADWeakReference::initWithObject(other)));
    EXPECT_FALSE(fresh->isEqual(*object)) << "only references equal references";

    std::weak_ptr<Participant> watch = object;
    object.reset();
    EXPECT_TRUE(watch.expired()) << "a reference never keeps its object";
    EXPECT_EQ(earlier->weakObject(), nullptr);
    EXPECT_TRUE(fresh->isEqual(*earlier));
    participants.erase(fresh);
    EXPECT_TRUE(participants.empty()) << "a participant is taken out by a fresh reference";
}

TEST(ZADWeakReferenceTest, DescriptionShowsTheObjectWhileItLivesAndTheAddressAlways) {
    auto object = Participant::init();
    auto reference = ZADWeakReference::initWithObject(object);
    auto address = [](const void* pointer) {
        return NSString::stringWithFormat("0x%lx", reinterpret_cast<uintptr_t>(pointer));
    };
    const std::string prefix = "<ZADWeakReference: " + address(reference.get());
    const std::string id = " uniqueID:" + address(object.get()) + ">";
    EXPECT_EQ(reference->description(), prefix + " weakObject:<Participant>" + id);
    EXPECT_EQ(reference->uniqueID(), reinterpret_cast<uintptr_t>(object.get()));
    object.reset();
    EXPECT_EQ(reference->description(), prefix + " weakObject:(null)" + id);
}

} // namespace
