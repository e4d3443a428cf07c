#include "editor/PEImageEditorTheme.h"
#include "editor/PEImageToolBase.h"
#include "editor/PEImageToolInfo.h"
#include "platform/base/ClassRegistry.h"
#include "platform/foundation/NSBundle.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <limits>

namespace {
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsSupersetOf;
using ::testing::Not;

// The test tools join the menus only while a test of this file runs, so that no other
// test of the program sees them.
bool testToolsAvailable = false;

// A tool family: Alpha describes itself; Beta, its subclass, inherits that description
// and answers as itself; Gamma, a subclass of Beta, describes itself anew and lists a
// second-level family of its own.
class TestAlphaTool : public PEImageToolBase {
    NS_OBJECT(TestAlphaTool)
public:
    class ClassMethods : public PEImageToolBase::ClassMethods {
    public:
        double defaultDockedNumber(const Class&) const override { return 2.5; }
        std::string defaultTitle(const Class&) const override { return "Alpha"; }
        bool isAvailable(const Class&) const override { return testToolsAvailable; }
        std::optional<PlistValue::Dictionary> optionalInfo(const Class&) const override {
            return PlistValue::Dictionary{{"StampIconAssetsName", ""}};
        }
    };
};
class TestBetaTool : public TestAlphaTool {
    NS_OBJECT(TestBetaTool)
};
class TestGammaTool : public TestBetaTool {
    NS_OBJECT(TestGammaTool)
public:
    class ClassMethods : public TestAlphaTool::ClassMethods {
    public:
        std::optional<std::string> defaultIconImagePath(const Class&) const override {
            return std::nullopt;
        }
        double defaultDockedNumber(const Class&) const override { return 0.5; }
        std::string defaultTitle(const Class&) const override { return "Gamma"; }
        std::optional<PlistValue::Dictionary> optionalInfo(const Class&) const override {
            return std::nullopt;
        }
        std::optional<std::vector<std::shared_ptr<PEImageToolInfo>>>
        subtools(const Class&) const override {
            return PEImageToolInfo::toolsWithToolClass("TestFilter");
        }
    };
};

// A second-level family whose base is never listed, and the root of a test tree.
class TestFilter : public NSObject {
    NS_OBJECT(TestFilter)
public:
    class ClassMethods : public PEImageToolBase::ClassMethods {};
};
class TestSepiaFilter : public TestFilter {
    NS_OBJECT(TestSepiaFilter)
public:
    class ClassMethods : public TestAlphaTool::ClassMethods {
    public:
        std::optional<PlistValue::Dictionary> optionalInfo(const Class&) const override {
            return std::nullopt;
        }
    };
};
class TestEditorRoot : public NSObject {
    NS_OBJECT(TestEditorRoot)
public:
    class ClassMethods : public TestAlphaTool::ClassMethods {
    public:
        std::optional<std::vector<std::shared_ptr<PEImageToolInfo>>>
        subtools(const Class&) const override {
            return PEImageToolInfo::toolsWithToolClass("TestAlphaTool");
        }
    };
};

class PEImageToolInfoTest : public ::testing::Test {
protected:
    PEImageToolInfoTest() {
        ClassRegistry& registry = ClassRegistry::shared();
        registry.add<TestAlphaTool, PEImageToolBase>(
            {}, std::make_shared<TestAlphaTool::ClassMethods>());
        registry.add<TestBetaTool, TestAlphaTool>();
        registry.add<TestGammaTool, TestBetaTool>({},
                                                  std::make_shared<TestGammaTool::ClassMethods>());
        registry.add<TestFilter, NSObject>({}, std::make_shared<TestFilter::ClassMethods>());
        registry.add<TestSepiaFilter, TestFilter>(
            {}, std::make_shared<TestSepiaFilter::ClassMethods>());
        registry.add<TestEditorRoot, NSObject>({},
                                               std::make_shared<TestEditorRoot::ClassMethods>());
        testToolsAvailable = true;
    }
    ~PEImageToolInfoTest() override { testToolsAvailable = false; }

    static std::vector<std::string> namesOf(const PEImageToolInfo::ToolList& tools) {
        std::vector<std::string> names;
        for (const auto& tool : tools) {
            names.push_back(tool->toolName());
        }
        return names;
    }
};

TEST_F(PEImageToolInfoTest, DiscoveryFindsToolsAtEveryDepthButNeverTheBase) {
    const auto tools = namesOf(PEImageToolInfo::toolsWithToolClass("PEImageToolBase"));
    EXPECT_THAT(tools, IsSupersetOf({"TestAlphaTool", "TestBetaTool", "TestGammaTool"}));
    EXPECT_THAT(tools, Not(Contains("PEImageToolBase")));
    // A family whose base is available lists the base first.
    EXPECT_THAT(namesOf(PEImageToolInfo::toolsWithToolClass("TestAlphaTool")),
                ElementsAre("TestAlphaTool", "TestBetaTool", "TestGammaTool"));

    testToolsAvailable = false;
    EXPECT_THAT(namesOf(PEImageToolInfo::toolsWithToolClass("PEImageToolBase")),
                Not(Contains("TestAlphaTool")));
    // Neither a class that describes nothing nor an unknown name makes an entry.
    EXPECT_EQ(PEImageToolInfo::toolInfoForToolClass("UIView"), nullptr);
    EXPECT_EQ(PEImageToolInfo::toolInfoForToolClass("NoSuchTool"), nullptr);
}

TEST_F(PEImageToolInfoTest, AnInheritedDescriptionAnswersAsTheSubclass) {
    auto beta = PEImageToolInfo::toolInfoForToolClass("TestBetaTool");
    ASSERT_NE(beta, nullptr);
    EXPECT_EQ(beta->title(), "Alpha");
    EXPECT_EQ(beta->dockedNumber(), 2.5);
    EXPECT_TRUE(beta->available());
    ASSERT_TRUE(beta->iconImagePath());
    EXPECT_EQ(*beta->iconImagePath(),
              PEImageEditorTheme::theme()->bundle()->bundlePath() + "/TestBetaTool/black/icon.png");

    // The entry's settings are its own copy: a host may change them.
    ASSERT_TRUE(beta->optionalInfo());
    (*beta->optionalInfo())["StampIconAssetsName"] = "stamp";
    auto again = PEImageToolInfo::toolInfoForToolClass("TestBetaTool");
    EXPECT_EQ((*again->optionalInfo())["StampIconAssetsName"].stringValue(), "");
}

TEST_F(PEImageToolInfoTest, TheTreeListsChildrenByDockedNumberAndFindsNestedEntries) {
    auto root = PEImageToolInfo::toolInfoForToolClass("TestEditorRoot");
    ASSERT_NE(root, nullptr);
    // Equal numbers keep their discovery order; the sorted order is stored back.
    EXPECT_THAT(namesOf(root->sortedSubtools()),
                ElementsAre("TestGammaTool", "TestAlphaTool", "TestBetaTool"));
    EXPECT_THAT(namesOf(*root->subtools()),
                ElementsAre("TestGammaTool", "TestAlphaTool", "TestBetaTool"));

    EXPECT_EQ(root->toolTreeDescription(), "\n"
                                           "TestEditorRoot\n"
                                           "    TestGammaTool\n"
                                           "        TestSepiaFilter\n"
                                           "    TestAlphaTool\n"
                                           "    TestBetaTool\n");

    EXPECT_EQ(root->subToolInfoWithToolNameRecursive("TestSepiaFilter", false), nullptr);
    auto sepia = root->subToolInfoWithToolNameRecursive("TestSepiaFilter", true);
    ASSERT_NE(sepia, nullptr);
    EXPECT_EQ(sepia->toolName(), "TestSepiaFilter");
    EXPECT_EQ(root->subToolInfoWithToolNameRecursive("NoSuchTool", true), nullptr);
}

TEST_F(PEImageToolInfoTest, TheDescriptionDictionaryLeavesOutWhatIsAbsent) {
    auto gamma = PEImageToolInfo::toolInfoForToolClass("TestGammaTool");
    ASSERT_NE(gamma, nullptr);
    const PlistValue::Dictionary dictionary = gamma->descriptionDictionary();
    EXPECT_EQ(dictionary.count("iconImagePath"), 0u);
    EXPECT_EQ(dictionary.count("optionalInfo"), 0u);
    EXPECT_EQ(dictionary.at("toolName").stringValue(), "TestGammaTool");
    EXPECT_EQ(dictionary.at("title").stringValue(), "Gamma");
    EXPECT_EQ(dictionary.at("available").stringValue(), "YES");
    EXPECT_EQ(dictionary.at("dockedNumber").doubleValue(), 0.5);
    ASSERT_NE(dictionary.at("subtools").array(), nullptr);
    ASSERT_EQ(dictionary.at("subtools").array()->size(), 1u);
    EXPECT_EQ(dictionary.at("subtools").array()->front()["toolName"].stringValue(),
              "TestSepiaFilter");

    auto alpha = PEImageToolInfo::toolInfoForToolClass("TestAlphaTool");
    const PlistValue::Dictionary full = alpha->descriptionDictionary();
    EXPECT_EQ(full.count("iconImagePath"), 1u);
    EXPECT_EQ(full.at("optionalInfo")["StampIconAssetsName"].stringValue(), "");
    // A tool without children of its own has none to list.
    EXPECT_EQ(full.count("subtools"), 0u);
    EXPECT_NE(alpha->description().find("TestAlphaTool"), std::string::npos);
}

TEST(PEImageToolBase, TheStandardToolsComeInTheirOrderAndOthersLast) {
    const PEImageToolBase::ClassMethods base;
    const struct {
        const char* name;
        double docked;
    } cases[] = {
        {"PEFilterTool", 0},    {"PEAdjustmentTool", 1},
        {"PEEffectTool", 2},    {"PEBlurTool", 3},
        {"PERotateTool", 4},    {"PEClippingTool", 5},
        {"PEToneCurveTool", 6}, {"PEDrawTool", 9223372036854775807.0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(base.defaultDockedNumber(Class{c.name, "PEImageToolBase", {}, {}, {}}), c.docked)
            << c.name;
    }
    EXPECT_FALSE(base.isAvailable(Class{"PEImageToolBase", "NSObject", {}, {}, {}}));
    EXPECT_EQ(base.defaultTitle(Class{"PEFilterTool", "PEImageToolBase", {}, {}, {}}),
              "DefaultTitle");
}

TEST(PEImageToolInfo, TheEditorScreensEntryReadsAsThePublicEditor) {
    // The screen registers under its internal name; its entry, and so the tree's first
    // line, shows the public name.
    struct ScreenClassMethods : PEImageToolBase::ClassMethods {
        bool isAvailable(const Class&) const override { return true; }
    };
    ClassRegistry::shared().registerClass(Class{"_PEImageEditorViewController",
                                                "NSObject",
                                                {},
                                                {},
                                                std::make_shared<ScreenClassMethods>()});
    auto entry = PEImageToolInfo::toolInfoForToolClass("_PEImageEditorViewController");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->toolName(), "PEImageEditor");
    EXPECT_EQ(entry->toolTreeDescription().rfind("\nPEImageEditor\n", 0), 0u);
}
} // namespace
