#include "app/MainViewController.h"

#include "platform/runtime/ClassRegistry.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIView.h"

NS_REGISTER_CLASS(MainViewController, BaseViewController);

void MainViewController::viewDidLoad() {
    BaseViewController::viewDidLoad();
    view()->setBackgroundColor(UIColor::whiteColor());
}
