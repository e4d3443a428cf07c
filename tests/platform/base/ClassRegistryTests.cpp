#include "platform/base/ClassRegistry.h"

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

// A class that needs set-up: only its factory makes one.
class SetUpTool : public Tool {
    NS_OBJECT(SetUpTool)
public:
    static std::shared_ptr<SetUpTool> alloc() {
        auto tool = make<SetUpTool>();
        tool->ready_ = true;
        return tool;
    }
    bool isReady() const { return ready_; }

protected:
    SetUpTool() = default;

private:
    bool ready_ = false;
};

class ClassRegistryTest : public ::testing::Test {
protected:
    ClassRegistryTest() {
        registry.add<Tool, NSObject>();
        registry.add<BlurTool, Tool>([this] { ++initializeRuns; });
        registry.add<CropTool, Tool>();
        registry.add<FineCropTool, CropTool>();
        registry.add<SetUpTool, Tool>();
    }
    ClassRegistry registry;
    int initializeRuns = 0;
};

TEST_F(ClassRegistryTest, FindsClassesByNameAndMakesInstances) {
    const Class* cls = registry.classNamed("CropTool");
    ASSERT_NE(cls, nullptr);
    auto instance = cls->alloc();
    ASSERT_NE(instance, nullptr);
    EXPECT_EQ(instance->className(), "CropTool");
    EXPECT_EQ(registry.classNamed("NoSuchTool"), nullptr);
}

TEST_F(ClassRegistryTest, MakesAClassThatNeedsSetUpThroughItsOwnFactory) {
    auto tool = std::dynamic_pointer_cast<SetUpTool>(registry.classNamed("SetUpTool")->alloc());
    ASSERT_NE(tool, nullptr);
    EXPECT_TRUE(tool->isReady());
}

TEST_F(ClassRegistryTest, ListsSubclassesInRegistrationOrder) {
    std::vector<std::string> names;
    for (const Class* cls : registry.subclassesOf("Tool")) {
        names.push_back(cls->name);
    }
    EXPECT_EQ(names,
              (std::vector<std::string>{"BlurTool", "CropTool", "FineCropTool", "SetUpTool"}));
    EXPECT_TRUE(registry.inherits(*registry.classNamed("FineCropTool"), "Tool"));
    EXPECT_FALSE(registry.inherits(*registry.classNamed("Tool"), "CropTool"));
}

TEST_F(ClassRegistryTest, ASecondRegistrationOfANameIsIgnored) {
    registry.add<CropTool, NSObject>();
    EXPECT_TRUE(registry.inherits(*registry.classNamed("CropTool"), "Tool"));
}

TEST_F(ClassRegistryTest, InitializeRunsOnceOnFirstLookUp) {
    EXPECT_EQ(initializeRuns, 0);
    registry.classNamed("BlurTool");
    registry.classNamed("BlurTool");
    EXPECT_EQ(initializeRuns, 1);
}

// Class methods that say which class received them, as a protocol a class may adopt.
class Describing {
public:
    virtual ~Describing() = default;
    virtual std::string describe(const Class& self) const = 0;
};
class ToolClassMethods : public NSObject, public Describing {
public:
    std::string describe(const Class& self) const override { return "tool " + self.name; }
};
class CropClassMethods : public ToolClassMethods {
public:
    std::string describe(const Class& self) const override { return "crop " + self.name; }
};

TEST(ClassRegistryClassMethods, ASubclassInheritsThemUntilItHasItsOwn) {
    ClassRegistry registry;
    registry.add<Tool, NSObject>({}, std::make_shared<ToolClassMethods>());
    registry.add<BlurTool, Tool>();
    registry.add<CropTool, Tool>({}, std::make_shared<CropClassMethods>());
    registry.add<FineCropTool, CropTool>();
    registry.add<SetUpTool, NSObject>();
    const struct {
        const char* name;
        const char* answer;
    } cases[] = {
        {"Tool", "tool Tool"},
        {"BlurTool", "tool BlurTool"},
        {"CropTool", "crop CropTool"},
        {"FineCropTool", "crop FineCropTool"},
    };
    for (const auto& c : cases) {
        const Class& cls = *registry.classNamed(c.name);
        const auto* describing = registry.classConformingTo<Describing>(cls);
        ASSERT_NE(describing, nullptr) << c.name;
        EXPECT_EQ(describing->describe(cls), c.answer);
    }
    // Neither it nor any superclass has class methods: it adopts nothing at class level.
    EXPECT_EQ(registry.classConformingTo<Describing>(*registry.classNamed("SetUpTool")), nullptr);
}

TEST(ClassRegistry, TheProgramFindsItsClassesByName) {
    EXPECT_EQ(NSStringFromClass("NoSuchTool"), "");
    EXPECT_EQ(NSClassFromString("NoSuchTool"), nullptr);
}
} // namespace
