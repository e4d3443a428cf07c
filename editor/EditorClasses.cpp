#include "editor/EditorClasses.h"

#include "app/output/AppOutputClasses.h"
#include "editor/PEImageEditor.h"
#include "editor/PEImageEditorTheme.h"
#include "editor/PEImageToolBase.h"
#include "editor/PEImageToolInfo.h"
#include "editor/PEToolbarMenuItem.h"
#include "editor/_PEImageEditorViewController.h"
#include "editor/tools/adjustment/PEAdjustmentTool.h"
#include "editor/tools/blur/PEBlurBand.h"
#include "editor/tools/blur/PEBlurCircle.h"
#include "editor/tools/blur/PEBlurTool.h"
#include "editor/tools/filter/PEDefaultEmptyFilter.h"
#include "editor/tools/filter/PEFilterBase.h"
#include "editor/tools/filter/PEFilterTool.h"
#include "platform/base/ClassRegistry.h"
#include "platform/uikit/UIKitClasses.h"

void registerEditorClasses() {
    registerUIKitClasses();
    registerAppOutputClasses();
    ClassRegistry& registry = ClassRegistry::shared();
    registry.add<PEImageEditorTheme, NSObject>();
    registry.add<PEImageToolBase, NSObject>({}, std::make_shared<PEImageToolBase::ClassMethods>());
    registry.add<PEImageToolInfo, NSObject>();
    registry.add<PEToolbarMenuItem, UIView>();
    registry.add<PEImageEditor, UIViewController>();
    registry.add<_PEImageEditorViewController, PEImageEditor>(
        {}, std::make_shared<_PEImageEditorViewController::ClassMethods>());

    registry.add<PEFilterTool, PEImageToolBase>({}, std::make_shared<PEFilterTool::ClassMethods>());
    registry.add<PEFilterBase, NSObject>({}, std::make_shared<PEFilterBase::ClassMethods>());
    registry.add<PEDefaultEmptyFilter, PEFilterBase>(
        {}, std::make_shared<PEDefaultEmptyFilter::ClassMethods>());
    // The filters of the table's other rows differ only in name: each answers through the
    // class methods it inherits, for its own row. They are never made into objects.
    for (const std::string& name : PEDefaultEmptyFilter::subclassNames()) {
        registry.registerClass(Class{name, PEDefaultEmptyFilter::staticClassName(), {}, {}, {}});
    }

    registry.add<PEAdjustmentTool, PEImageToolBase>(
        {}, std::make_shared<PEAdjustmentTool::ClassMethods>());
    registry.add<PEBlurTool, PEImageToolBase>({}, std::make_shared<PEBlurTool::ClassMethods>());
    registry.add<PEBlurCircle, UIView>();
    registry.add<PEBlurBand, UIView>();
}
