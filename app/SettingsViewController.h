// The settings screen, pushed from the main menu: it shows the navigation bar with a back
// button that returns to the menu.
#pragma once

#include "app/BaseViewController.h"

class SettingsViewController : public BaseViewController {
    NS_OBJECT(SettingsViewController)
public:
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
};
