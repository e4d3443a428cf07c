// The photo picker, presented by the main menu in its own navigation controller for one
// kind of collage (0: template, 1: free).
#pragma once

#include "app/BaseViewController.h"

#include <cstdint>

class ImagePickerViewController : public BaseViewController {
    NS_OBJECT(ImagePickerViewController)
public:
    int32_t mixStyle() const { return mixStyle_; }
    void setMixStyle(int32_t style) { mixStyle_ = style; }

    void viewDidLoad() override;

private:
    int32_t mixStyle_ = 0;
};
