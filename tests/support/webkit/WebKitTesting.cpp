#include "tests/support/webkit/WebKitTesting.h"

#include "platform/uikit/UIKitClasses.h"
#include "platform/webkit/UIWebView.h"
#include "platform/webkit/WebKitClasses.h"
#include "tests/support/TestIsolation.h"

void setUpWebKitTesting() {
    registerUIKitClasses();
    registerWebKitClasses();
    TestIsolation::addReset(&UIWebView::resetForTesting);
}
