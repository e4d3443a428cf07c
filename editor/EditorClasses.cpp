#include "editor/EditorClasses.h"

#include "app/output/AppOutputClasses.h"
#include "editor/PEImageEditor.h"
#include "editor/PEImageEditorTheme.h"
#include "editor/PEImageToolBase.h"
#include "editor/PEImageToolInfo.h"
#include "editor/PEToolbarMenuItem.h"
#include "editor/_PEImageEditorViewController.h"
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
}
