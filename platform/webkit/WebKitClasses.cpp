#include "platform/webkit/WebKitClasses.h"

#include "platform/base/ClassRegistry.h"
#include "platform/uikit/UIView.h"
#include "platform/webkit/UIWebView.h"

void registerWebKitClasses() {
    ClassRegistry::shared().add<UIWebView, UIView>();
}
