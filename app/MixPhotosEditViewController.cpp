#include "app/MixPhotosEditViewController.h"

#include "platform/runtime/ClassRegistry.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIView.h"

NS_REGISTER_CLASS(MixPhotosEditViewController, UIViewController);

void MixPhotosEditViewController::viewDidLoad() {
    UIViewController::viewDidLoad();
    view()->setBackgroundColor(UIColor::whiteColor());
}
