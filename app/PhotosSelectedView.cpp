#include "app/PhotosSelectedView.h"

#include "platform/uikit/UIButton.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIImageView.h"

std::shared_ptr<PhotosSelectedView> PhotosSelectedView::initWithFrame(const CGRect& frame) {
    auto view = make<PhotosSelectedView>();
    view->setFrame(frame);
    view->setBackgroundColor(UIColor::whiteColor());
    double w = frame.size.width;
    view->imageView_ = UIImageView::initWithFrame(CGRectMake(2, 2, w - 4, w - 6));
    view->imageView_->setContentMode(UIViewContentMode::ScaleAspectFill);
    view->imageView_->setClipsToBounds(true);
    view->addSubview(view->imageView_);
    view->deleteBtn_ = UIButton::initWithFrame(CGRectMake(w - 17, -3, 20, 20));
    view->deleteBtn_->setImageForState(UIImage::imageNamed("delete.png"), UIControlStateNormal);
    view->deleteBtn_->setClipsToBounds(true);
    view->addSubview(view->deleteBtn_);
    return view;
}
