// Shows an image in its bounds by its content mode. Ignores touches unless told
// otherwise, as the platform's image views do. An image shown at half its pixels or less
// is drawn from a copy area-averaged to the pixels it covers, kept while the image and
// that size stay: scaling a camera photo as it is drawn would filter all of its pixels at
// every drawing (and less well).
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
    // `image`, or its reduced copy when it is drawn into `rect` of the current context at
    // half its pixels or less.
    std::shared_ptr<UIImage> imageToDrawInRect(const std::shared_ptr<UIImage>& image,
                                               const CGRect& rect);

    std::shared_ptr<UIImage> image_;
    std::shared_ptr<UIImage> highlightedImage_;
    bool highlighted_ = false;
    std::weak_ptr<UIImage> reducedFrom_;
    std::shared_ptr<UIImage> reduced_;
};
