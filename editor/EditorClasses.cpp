#include "editor/EditorClasses.h"

#include "editor/PEImageEditorTheme.h"
#include "editor/PEImageToolBase.h"
#include "editor/PEImageToolInfo.h"
#include "editor/PEToolbarMenuItem.h"
#include "platform/base/ClassRegistry.h"
#include "platform/uikit/UIKitClasses.h"

void registerEditorClasses() {
    registerUIKitClasses();
    ClassRegistry& registry = ClassRegistry::shared();
    registry.add<PEImageEditorTheme, NSObject>();
    registry.add<PEImageToolBase, NSObject>({}, std::make_shared<PEImageToolBase::ClassMethods>());
    registry.add<PEImageToolInfo, NSObject>();
    registry.add<PEToolbarMenuItem, UIView>();
}
