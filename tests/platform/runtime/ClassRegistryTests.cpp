#include "platform/runtime/ClassRegistry.h"

#include <gtest/gtest.h>

namespace {
class Tool : public NSObject {
    NS_OBJECT(Tool)
};
class BlurTool : public Tool {
    NS_OBJECT(BlurTool)
};
class CropTool : public Tool {
    NS_OBJECT(CropTool)
};
class FineCropTool : public CropTool {
    NS_OBJECT(FineCropTool)
};

int initializeRuns = 0;
void countInitialize() {
    ++initializeRuns;
}

NS_REGISTER_CLASS(Tool, NSObject);
NS_REGISTER_CLASS_WITH_INITIALIZE(BlurTool, Tool, &countInitialize);
NS_REGISTER_CLASS(CropTool, Tool);
NS_REGISTER_CLASS(FineCropTool, CropTool);

TEST(ClassRegistry, FindsClassesByNameAndMakesInstances) {
    const Class* cls = NSClassFromString("CropTool");
    ASSERT_NE(cls, nullptr);
    auto instance = cls->alloc();
    ASSERT_NE(instance, nullptr);
    EXPECT_EQ(instance->className(), "CropTool");
    EXPECT_EQ(NSClassFromString("NoSuchTool"), nullptr);
    EXPECT_EQ(NSStringFromClass("NoSuchTool"), "");
}

TEST(ClassRegistry, ListsSubclassesInRegistrationOrder) {
    std::vector<std::string> names;
    for (const Class* cls : ClassRegistry::shared().subclassesOf("Tool")) {
        names.push_back(cls->name);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"BlurTool", "CropTool", "FineCropTool"}));
    EXPECT_TRUE(NSClassFromString("FineCropTool")->isSubclassOf("Tool"));
    EXPECT_FALSE(NSClassFromString("Tool")->isSubclassOf("CropTool"));
}

// Each test starts as a new process would: no class looked up yet.
TEST(ClassRegistry, InitializeRunsOnceOnFirstLookUp) {
    const int before = initializeRuns;
    NSStringFromClass("BlurTool");
    NSStringFromClass("BlurTool");
    EXPECT_EQ(initializeRuns, before + 1);
    ClassRegistry::resetForTesting();
    NSStringFromClass("BlurTool");
    EXPECT_EQ(initializeRuns, before + 2) << "again after a reset";
}
} // namespace
