#include "tests/support/editor/EditorTesting.h"

#include "editor/EditorClasses.h"
#include "editor/PEImageEditorTheme.h"
#include "editor/tools/effect/PEEffectTool.h"
#include "editor/tools/adjustment/PEAdjustmentTool.h"
#include "editor/tools/blur/PEBlurTool.h"
#include "editor/tools/filter/PEFilterTool.h"
#include "editor/tools/overlay/_PEEmoticonView.h"
#include "editor/tools/overlay/_PEStickerView.h"
#include "editor/tools/text/_PETextView.h"
#include "editor/tools/tonecurve/PEToneCurveTool.h"
#include "tests/support/TestIsolation.h"
#include "tests/support/harness/HarnessTesting.h"

void setUpEditorTesting() {
    setUpHarnessTesting();
    registerEditorClasses();
    TestIsolation::addReset([] {
        PEImageEditorTheme::resetForTesting();
        PEFilterTool::resetForTesting();
        PEEffectTool::resetForTesting();
        PEToneCurveTool::resetForTesting();
        PEAdjustmentTool::resetForTesting();
        PEBlurTool::resetForTesting();
        _PEEmoticonView::resetForTesting();
        _PEStickerView::resetForTesting();
        _PETextView::resetForTesting();
    });
}
