// The main menu: the app's root screen.
#pragma once

#include "app/BaseViewController.h"

class MainViewController : public BaseViewController {
    NS_OBJECT(MainViewController)
public:
    void viewDidLoad() override;
};
