#include "tests/support/editor/EditorTesting.h"

#include "editor/EditorClasses.h"
#include "editor/PEImageEditorTheme.h"
#include "editor/PEPreviewGate.h"
#include "editor/tools/adjustment/PEAdjustmentTool.h"
#include "editor/tools/blur/PEBlurTool.h"
#include "editor/tools/effect/PEEffectTool.h"
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
        PEPreviewGate::of<PEFilterTool>().leave();
        PEPreviewGate::of<PEEffectTool>().leave();
        PEPreviewGate::of<PEToneCurveTool>().leave();
        PEPreviewGate::of<PEAdjustmentTool>().leave();
        PEPreviewGate::of<PEBlurTool>().leave();
        _PEEmoticonView::resetForTesting();
        _PEStickerView::resetForTesting();
        _PETextView::resetForTesting();
    });
}
