#include "app/MainViewController.h"

#include "platform/runtime/ClassRegistry.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIView.h"

NS_REGISTER_CLASS(MainViewController, UIViewController);

void MainViewController::viewDidLoad() {
    UIViewController::viewDidLoad();
    view()->setBackgroundColor(UIColor::whiteColor());
}
