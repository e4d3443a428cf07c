#include "editor/PEImageToolBase.h"
#include "editor/PEImageToolInfo.h"
#include "platform/base/ClassRegistry.h"
#include "platform/foundation/NSError.h"
#include "platform/uikit/UIImage.h"
#include "tests/support/ImageFixtures.h"
#include "tests/support/TaskEnvironment.h"
#include "tests/support/editor/FakeImageToolHost.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// A tool the screen made but never opened on an editor: OK still owes the screen one
// answer, an error, or the screen would wait with its spinner for ever.
TEST(PEToolOKWithoutEditorTest, EachToolAnswersOnceWithAnError) {
    TaskEnvironment environment;
    for (const char* name :
         {"PEAdjustmentTool", "PEBlurTool", "PEEffectTool", "PERotateTool", "PEToneCurveTool"}) {
        SCOPED_TRACE(name);
        const Class* cls = NSClassFromString(name);
        ASSERT_TRUE(cls);
        auto tool = std::dynamic_pointer_cast<PEImageToolBase>(cls->alloc());
        ASSERT_TRUE(tool);
        int answers = 0;
        std::shared_ptr<NSError> error;
        std::shared_ptr<UIImage> image;
        tool->executeWithCompletionBlock(
            [&](std::shared_ptr<UIImage> i, std::shared_ptr<NSError> e, std::shared_ptr<NSObject>) {
                ++answers;
                image = i;
                error = e;
            });
        environment.runUntilIdle();
        EXPECT_EQ(answers, 1);
        EXPECT_FALSE(image);
        EXPECT_TRUE(error);
    }
}

// A screen without a menu strip has no place for the tools' sliders and strips: the tools
// that stand on it open without their controls, close, and answer OK, without a crash.
TEST(PEToolMissingPartsTest, ToolsThatStandOnTheMenuOpenAndCloseWithoutOne) {
    TaskEnvironment environment;
    for (const char* name : {"PEAdjustmentTool", "PEBlurTool", "PERotateTool"}) {
        SCOPED_TRACE(name);
        auto host = FakeImageToolHost::withImage(UIImage::imageWithCGImage(
            makeImage(8, 6, CGImagePixelFormat::ARGB32Premultiplied,
                      [](size_t x, size_t) { return 0xff000000u | static_cast<uint32_t>(x * 30); })));
        host->removeMenu();
        auto entry = PEImageToolInfo::toolInfoForToolClass(name);
        ASSERT_TRUE(entry);
        auto tool = host->openTool(entry);
        ASSERT_TRUE(tool);
        environment.fastForwardBy(0.3);
        int answers = 0;
        tool->executeWithCompletionBlock(
            [&](std::shared_ptr<UIImage>, std::shared_ptr<NSError>, std::shared_ptr<NSObject>) {
                ++answers;
            });
        environment.runUntilIdle();
        EXPECT_EQ(answers, 1);
        host->back(*tool);
        environment.fastForwardBy(0.3);
    }
}

} // namespace
