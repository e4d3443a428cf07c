// The main menu: the app's root screen.
#pragma once

#include "platform/uikit/UIViewController.h"

class MainViewController : public UIViewController {
    NS_OBJECT(MainViewController)
public:
    void viewDidLoad() override;
};
