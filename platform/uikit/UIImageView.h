// Shows an image in its bounds by its content mode. Ignores touches unless told
// otherwise, as the platform's image views do.
#pragma once

#include "platform/uikit/UIView.h"

class UIImage;

class UIImageView : public UIView {
    NS_OBJECT(UIImageView)
public:
    static std::shared_ptr<UIImageView> initWithFrame(const CGRect& frame);
    static std::shared_ptr<UIImageView> alloc() { return initWithFrame(CGRectZero); }
    // A view of the image's size.
    static std::shared_ptr<UIImageView> initWithImage(std::shared_ptr<UIImage> image);

    std::shared_ptr<UIImage> image() const { return image_; }
    void setImage(std::shared_ptr<UIImage> image);
    std::shared_ptr<UIImage> highlightedImage() const { return highlightedImage_; }
    void setHighlightedImage(std::shared_ptr<UIImage> image) {
        highlightedImage_ = std::move(image);
    }
    bool isHighlighted() const { return highlighted_; }
    void setHighlighted(bool highlighted) { highlighted_ = highlighted; }

    CGSize sizeThatFits(const CGSize& size) const override;
    void drawRect(const CGRect& rect) override;

    // Where an image of that size lands in bounds of that size under a content mode.
    static CGRect imageRectForContentMode(UIViewContentMode mode, const CGSize& imageSize,
                                          const CGSize& boundsSize);

protected:
    UIImageView();

private:
    std::shared_ptr<UIImage> image_;
    std::shared_ptr<UIImage> highlightedImage_;
    bool highlighted_ = false;
};
