#include "app/DavuVovEditViewController.h"

#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIView.h"

void DavuVovEditViewController::viewDidLoad() {
    UIViewController::viewDidLoad();
    view()->setBackgroundColor(UIColor::whiteColor());
}
