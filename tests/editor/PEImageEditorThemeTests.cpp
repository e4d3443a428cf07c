#include "editor/PEImageEditorTheme.h"
#include "editor/PEImageEditorThemeDelegate.h"
#include "editor/PEImageToolBase.h"
#include "editor/PEImageToolInfo.h"
#include "editor/PEToolbarMenuItem.h"
#include "editor/categories/UIView+PEImageToolInfo.h"
#include "platform/base/ClassRegistry.h"
#include "platform/foundation/NSBundle.h"
#include "platform/foundation/NSData.h"
#include "platform/quartzcore/CALayer.h"
#include "platform/uikit/UIActivityIndicatorView.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIGraphics.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIImageView.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

namespace {

std::string stringTable(const std::vector<std::pair<std::string, std::string>>& entries) {
    std::string xml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<dict>\n";
    for (const auto& [key, value] : entries) {
        xml += "<key>" + key + "</key><string>" + value + "</string>\n";
    }
    return xml + "</dict>\n</plist>\n";
}

// A PNG of `pixels` x `pixels`, so that a test can tell which file an image came from.
void writePng(const std::string& path, double pixels) {
    UIGraphicsBeginImageContextWithOptions(CGSizeMake(pixels, pixels), true, 1);
    auto image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    ASSERT_TRUE(NSData::writeToFileAtomically(*UIImagePNGRepresentation(image), path));
}

class StampTool : public PEImageToolBase {
    NS_OBJECT(StampTool)
};

// An application bundle of the test's own, with its translations, one picture, and an
// editor bundle with translations and a tool's pictures.
class EditorBundleTest : public ::testing::Test {
protected:
    EditorBundleTest() {
        app.write("en.lproj/Localizable.strings",
                  stringTable({{"PEImageEditor_OKBtnTitle", "Okay"},
                               {"PEImageEditor_BackBtnTitle", "PEImageEditor_BackBtnTitle"}}));
        app.write("PEImageEditor.bundle/en.lproj/Localizable.strings",
                  stringTable({{"PEImageEditor_OKBtnTitle", "Fine"},
                               {"PEImageEditor_BackBtnTitle", "Return"}}));
        writePng(app.file("appstamp.png"), 3);
        writePng(app.file("PEImageEditor.bundle/StampTool/black/stamp.png"), 5);
        writePng(app.file("PEImageEditor.bundle/StampTool/white/stamp.png"), 7);
        NSBundle::setMainBundlePath(app.path());
    }
    TempFolder app;
};

TEST_F(EditorBundleTest, TheApplicationsTranslationWinsThenTheEditorBundlesThenTheDefault) {
    const struct {
        const char* key;
        const char* fallback;
        const char* expected;
    } cases[] = {
        {"PEImageEditor_OKBtnTitle", "OK", "Okay"},
        // A main-bundle text equal to its key counts as missing.
        {"PEImageEditor_BackBtnTitle", "Back", "Return"},
        {"PEImageEditor_DefaultTitle", "Edit", "Edit"},
        {"PEImageEditor_DoneBtnTitle", "", "PEImageEditor_DoneBtnTitle"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PEImageEditorTheme::localizedStringWithDefault(c.key, c.fallback), c.expected)
            << c.key;
    }
    // Without the editor bundle a text falls back as if the bundle lacked it.
    PEImageEditorTheme::theme()->setBundleName("NoSuchBundle");
    EXPECT_EQ(PEImageEditorTheme::theme()->bundle(), nullptr);
    EXPECT_EQ(PEImageEditorTheme::localizedStringWithDefault("PEImageEditor_BackBtnTitle", "Back"),
              "Back");
    EXPECT_EQ(PEImageEditorTheme::localizedStringWithDefault("PEImageEditor_OKBtnTitle", "OK"),
              "Okay");
}

TEST_F(EditorBundleTest, ToolPicturesComeFromTheIconColoursFolderOrTheApplication) {
    auto theme = PEImageEditorTheme::theme();
    EXPECT_EQ(PEImageEditorTheme::imageNamedImage("StampTool", "stamp.png")->size().width, 5);
    theme->setToolIconColor("white");
    EXPECT_EQ(PEImageEditorTheme::imageNamedImage("StampTool", "stamp.png")->size().width, 7);
    EXPECT_EQ(*PEImageToolBase::ClassMethods().defaultIconImagePath(
                  Class{"PEFilterTool", "PEImageToolBase", {}, {}, {}}),
              app.path() + "/PEImageEditor.bundle/PEFilterTool/white/icon.png");
    EXPECT_EQ(PEImageEditorTheme::imageNamedImage("StampTool", "missing.png"), nullptr);

    // A tool's setting names the application's picture; an empty one means the theme's.
    auto tool = std::make_shared<StampTool>();
    auto entry = PEImageToolInfo::alloc();
    entry->optionalInfo() = PlistValue::Dictionary{{"StampIconAssetsName", ""}};
    tool->initWithImageEditorWithToolInfo(nullptr, entry);
    EXPECT_EQ(tool->imageForKeyDefaultImageName("StampIconAssetsName", "stamp.png")->size().width,
              7);
    (*entry->optionalInfo())["StampIconAssetsName"] = "appstamp";
    EXPECT_EQ(tool->imageForKeyDefaultImageName("StampIconAssetsName", "stamp.png")->size().width,
              3);
    EXPECT_EQ(tool->imageForKeyDefaultImageName("OtherIconAssetsName", "stamp.png")->size().width,
              7);
}

TEST(PEImageEditorTheme, ThereIsOnlyEverOneTheme) {
    auto first = PEImageEditorTheme::alloc();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(PEImageEditorTheme::alloc(), nullptr);
    EXPECT_EQ(PEImageEditorTheme::theme(), first);
    EXPECT_EQ(PEImageEditorTheme::theme(), PEImageEditorTheme::theme());
}

TEST(PEImageEditorTheme, TheShippedBundleHasTheEditorsTextsAndEveryToolsIcons) {
    auto theme = PEImageEditorTheme::theme();
    ASSERT_NE(theme->bundle(), nullptr);
    EXPECT_EQ(PEImageEditorTheme::localizedStringWithDefault("PEImageEditor_OKBtnTitle", ""), "OK");
    EXPECT_EQ(PEImageEditorTheme::localizedStringWithDefault("PEFilterTool_DefaultTitle", ""),
              "Filter");
    for (const char* colour : {"black", "white"}) {
        theme->setToolIconColor(colour);
        for (const char* tool :
             {"PEFilterTool", "PEAdjustmentTool", "PEEffectTool", "PEBlurTool", "PERotateTool",
              "PEDrawTool", "PESplashTool", "PEClippingTool", "PEResizeTool", "PEToneCurveTool",
              "PEEmoticonTool", "PEStickerTool", "PETextTool"}) {
            auto icon = PEImageEditorTheme::imageNamedImage(tool, "icon.png");
            ASSERT_NE(icon, nullptr) << tool << " " << colour;
            // Drawn for the sharpest screen: a 50-point icon at 3 pixels a point.
            EXPECT_EQ(CGImageGetWidth(icon->cgImage()), 150u) << tool << " " << colour;
        }
    }
}

class IndicatorDelegate : public PEImageEditorThemeDelegate {
public:
    std::shared_ptr<UIView> imageEditorThemeActivityIndicatorView() override { return view; }
    std::shared_ptr<UIView> view = UIView::initWithFrame(CGRectMake(0, 0, 10, 10));
};

TEST(PEImageEditorTheme, TheIndicatorIsTheDelegatesOrARoundedLargeWheel) {
    auto indicator =
        std::dynamic_pointer_cast<UIActivityIndicatorView>(PEImageEditorTheme::indicatorView());
    ASSERT_NE(indicator, nullptr);
    EXPECT_TRUE(CGRectEqualToRect(indicator->frame(), CGRectMake(0, 0, 80, 80)));
    EXPECT_EQ(indicator->activityIndicatorViewStyle(), UIActivityIndicatorViewStyle::WhiteLarge);
    EXPECT_TRUE(indicator->backgroundColor()->isEqual(*UIColor::colorWithWhiteAlpha(0, 0.6)));
    EXPECT_EQ(indicator->layer()->cornerRadius(), 5);
    EXPECT_FALSE(indicator->isAnimating());

    // A delegate that gives no view leaves the theme's own.
    auto silent = std::make_shared<PEImageEditorThemeDelegate>();
    PEImageEditorTheme::theme()->setDelegate(silent);
    EXPECT_NE(
        std::dynamic_pointer_cast<UIActivityIndicatorView>(PEImageEditorTheme::indicatorView()),
        nullptr);
    auto delegate = std::make_shared<IndicatorDelegate>();
    PEImageEditorTheme::theme()->setDelegate(delegate);
    EXPECT_EQ(PEImageEditorTheme::indicatorView(), delegate->view);
}

TEST(PEToolbarMenuItem, IconAboveTitleInTheItemsWidth) {
    const struct {
        double width;
        CGRect icon;
        CGRect title;
    } cases[] = {
        {70, CGRectMake(10, 5, 50, 50), CGRectMake(0, 60, 70, 15)},
        {100, CGRectMake(10, 5, 80, 80), CGRectMake(0, 90, 100, 15)},
    };
    for (const auto& c : cases) {
        auto item = PEToolbarMenuItem::initWithFrame(CGRectMake(0, 0, c.width, 80));
        EXPECT_TRUE(CGRectEqualToRect(item->iconView()->frame(), c.icon)) << c.width;
        auto views = item->subviews();
        ASSERT_EQ(views.size(), 2u);
        EXPECT_TRUE(CGRectEqualToRect(views[1]->frame(), c.title)) << c.width;
        EXPECT_EQ(item->iconView()->contentMode(), UIViewContentMode::ScaleAspectFill);
        EXPECT_TRUE(item->iconView()->clipsToBounds());
    }
}

TEST(PEToolbarMenuItem, SelectionDimmingAndEntry) {
    auto theme = PEImageEditorTheme::theme();
    auto item = PEToolbarMenuItem::initWithFrame(CGRectMake(0, 0, 70, 80));
    const auto selectedColour = theme->toolbarSelectedButtonColor();

    item->setSelected(true);
    EXPECT_EQ(item->backgroundColor(), selectedColour);
    // Selecting a selected item changes nothing, even when the theme has changed since.
    theme->setToolbarSelectedButtonColor(UIColor::redColor());
    item->setSelected(true);
    EXPECT_EQ(item->backgroundColor(), selectedColour);
    item->setSelected(false);
    EXPECT_TRUE(item->backgroundColor()->isEqual(*UIColor::clearColor()));

    item->setUserInteractionEnabled(false);
    EXPECT_DOUBLE_EQ(item->alpha(), 0.3);
    EXPECT_FALSE(item->isUserInteractionEnabled());
    item->setUserInteractionEnabled(true);
    EXPECT_DOUBLE_EQ(item->alpha(), 1.0);

    // An entry without an icon path clears an icon set before.
    item->setIconImage(UIImage::imageNamed("share.png"));
    ASSERT_NE(item->iconImage(), nullptr);
    auto entry = PEImageToolInfo::alloc();
    entry->setTitle("Crop");
    item->setToolInfo(entry);
    EXPECT_EQ(item->iconImage(), nullptr);
    EXPECT_EQ(item->title(), "Crop");
    EXPECT_EQ(PEViewToolInfo::toolInfo(*item), entry);
}
} // namespace
