#include "tests/support/app/AppTesting.h"

#include "app/AppClasses.h"
#include "app/MixPhotosEditViewController.h"
#include "app/RZCommonConfig.h"
#include "editor/PEImageEditorTheme.h"
#include "editor/PEPreviewGate.h"
#include "editor/tools/filter/PEFilterTool.h"
#include "tests/support/TestIsolation.h"
#include "tests/support/harness/HarnessTesting.h"
#include "tests/support/services/ServicesTesting.h"

void setUpAppTesting() {
    setUpHarnessTesting();
    setUpServicesTesting();
    registerAppClasses();
    TestIsolation::addReset([] {
        RZCommonConfig::resetForTesting();
        MixPhotosEditViewController::resetForTesting();
        // The free collage screen opens the image editor.
        PEImageEditorTheme::resetForTesting();
        PEPreviewGate::of<PEFilterTool>().leave();
    });
}
