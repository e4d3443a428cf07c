// One chosen photo in the picker's strip: its thumbnail and a delete button whose tag is
// the choice's index.
#pragma once

#include "platform/uikit/UIView.h"

class UIButton;
class UIImageView;

class PhotosSelectedView : public UIView {
    NS_OBJECT(PhotosSelectedView)
public:
    static std::shared_ptr<PhotosSelectedView> initWithFrame(const CGRect& frame);
    static std::shared_ptr<PhotosSelectedView> alloc() { return initWithFrame(CGRectZero); }

    std::shared_ptr<UIImageView> imageView() const { return imageView_; }
    std::shared_ptr<UIButton> deleteBtn() const { return deleteBtn_; }

protected:
    PhotosSelectedView() = default;

private:
    std::shared_ptr<UIImageView> imageView_;
    std::shared_ptr<UIButton> deleteBtn_;
};
