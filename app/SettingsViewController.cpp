#include "app/SettingsViewController.h"

#include "app/categories/UIViewController+NavigationTitle.h"
#include "platform/foundation/NSBundle.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UINavigationController.h"
#include "platform/uikit/UIView.h"

void SettingsViewController::viewDidLoad() {
    BaseViewController::viewDidLoad();
    view()->setBackgroundColor(UIColor::colorWithWhiteAlpha(0.94, 1));
    NavigationTitle::useWhiteTitle(*this);
    setTitle(NSBundle::mainBundle()->localizedStringForKeyValueTable("user.Settings", "", ""));
}

void SettingsViewController::viewWillAppear(bool animated) {
    BaseViewController::viewWillAppear(animated);
    if (auto navigation = navigationController()) {
        navigation->setNavigationBarHidden(false);
    }
}
