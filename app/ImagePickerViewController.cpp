#include "app/ImagePickerViewController.h"

#include "platform/runtime/ClassRegistry.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIView.h"

NS_REGISTER_CLASS(ImagePickerViewController, BaseViewController);

void ImagePickerViewController::viewDidLoad() {
    BaseViewController::viewDidLoad();
    view()->setBackgroundColor(UIColor::whiteColor());
}
