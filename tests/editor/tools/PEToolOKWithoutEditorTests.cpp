#include "editor/PEImageToolBase.h"
#include "platform/base/ClassRegistry.h"
#include "platform/foundation/NSError.h"
#include "platform/uikit/UIImage.h"
#include "tests/support/TaskEnvironment.h"

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

} // namespace
