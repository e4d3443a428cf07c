#include "app/SettingsViewController.h"

#include "platform/foundation/NSBundle.h"
#include "platform/text/UIFont.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UINavigationBar.h"
#include "platform/uikit/UINavigationController.h"
#include "platform/uikit/UIView.h"

void SettingsViewController::viewDidLoad() {
    BaseViewController::viewDidLoad();
    view()->setBackgroundColor(UIColor::colorWithWhiteAlpha(0.94, 1));
    if (auto navigation = navigationController()) {
        NSTextAttributes title;
        title.font = UIFont::systemFontOfSizeWeight(18, 0.1);
        title.foregroundColor = UIColor::whiteColor();
        navigation->navigationBar()->setTitleTextAttributes(title);
    }
    setTitle(NSBundle::mainBundle()->localizedStringForKeyValueTable("user.Settings", "", ""));
}

void SettingsViewController::viewWillAppear(bool animated) {
    BaseViewController::viewWillAppear(animated);
    if (auto navigation = navigationController()) {
        navigation->setNavigationBarHidden(false);
    }
}
