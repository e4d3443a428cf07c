// The settings screen, pushed from the main menu: it shows the navigation bar with a back
// button that returns to the menu.
#pragma once

#include "app/BaseViewController.h"

class SettingsViewController : public BaseViewController {
    NS_OBJECT(SettingsViewController)
public:
    static std::shared_ptr<SettingsViewController> init() { return make<SettingsViewController>(); }
    static std::shared_ptr<SettingsViewController> alloc() { return init(); }

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;

protected:
    SettingsViewController() = default;
};
