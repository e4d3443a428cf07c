#include "app/DavuVovEditViewController.h"

#include "platform/runtime/ClassRegistry.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIView.h"

NS_REGISTER_CLASS(DavuVovEditViewController, UIViewController);

void DavuVovEditViewController::viewDidLoad() {
    UIViewController::viewDidLoad();
    view()->setBackgroundColor(UIColor::whiteColor());
}
