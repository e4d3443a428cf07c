#include "platform/uikit/UIImageView.h"

#include "platform/graphics/CGContext.h"
#include "platform/uikit/UIGraphics.h"
#include "platform/uikit/UIImage.h"

#include <algorithm>

UIImageView::UIImageView() {
    setUserInteractionEnabled(false);
}

std::shared_ptr<UIImageView> UIImageView::initWithFrame(const CGRect& frame) {
    auto view = make<UIImageView>();
    view->setFrame(frame);
    return view;
}

std::shared_ptr<UIImageView> UIImageView::initWithImage(std::shared_ptr<UIImage> image) {
    CGSize size = image ? image->size() : CGSizeZero;
    auto view = initWithFrame(CGRectMake(0, 0, size.width, size.height));
    view->setImage(std::move(image));
    return view;
}

void UIImageView::setImage(std::shared_ptr<UIImage> image) {
    image_ = std::move(image);
    setNeedsDisplay();
}

CGSize UIImageView::sizeThatFits(const CGSize&) const {
    return image_ ? image_->size() : CGSizeZero;
}

CGRect UIImageView::imageRectForContentMode(UIViewContentMode mode, const CGSize& image,
                                            const CGSize& bounds) {
    if (image.width <= 0 || image.height <= 0) {
        return CGRectZero;
    }
    double w = image.width, h = image.height;
    switch (mode) {
    case UIViewContentMode::ScaleToFill:
    case UIViewContentMode::Redraw:
        return CGRectMake(0, 0, bounds.width, bounds.height);
    case UIViewContentMode::ScaleAspectFit:
    case UIViewContentMode::ScaleAspectFill: {
        double sx = bounds.width / w, sy = bounds.height / h;
        double s = mode == UIViewContentMode::ScaleAspectFit ? std::min(sx, sy) : std::max(sx, sy);
        w *= s;
        h *= s;
        return CGRectMake((bounds.width - w) / 2, (bounds.height - h) / 2, w, h);
    }
    default:
        break;
    }
    // The unscaled modes place the image against an edge, a corner or the centre.
    double x = (bounds.width - w) / 2, y = (bounds.height - h) / 2;
    switch (mode) {
    case UIViewContentMode::Top:
        y = 0;
        break;
    case UIViewContentMode::Bottom:
        y = bounds.height - h;
        break;
    case UIViewContentMode::Left:
        x = 0;
        break;
    case UIViewContentMode::Right:
        x = bounds.width - w;
        break;
    case UIViewContentMode::TopLeft:
        x = 0;
        y = 0;
        break;
    case UIViewContentMode::TopRight:
        x = bounds.width - w;
        y = 0;
        break;
    case UIViewContentMode::BottomLeft:
        x = 0;
        y = bounds.height - h;
        break;
    case UIViewContentMode::BottomRight:
        x = bounds.width - w;
        y = bounds.height - h;
        break;
    default:
        break;
    }
    return CGRectMake(x, y, w, h);
}

void UIImageView::drawRect(const CGRect& rect) {
    auto shown = highlighted_ && highlightedImage_ ? highlightedImage_ : image_;
    if (!shown) {
        return;
    }
    shown->drawInRect(imageRectForContentMode(contentMode(), shown->size(), rect.size));
}
