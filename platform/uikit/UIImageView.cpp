#include "platform/uikit/UIImageView.h"

#include "platform/graphics/BoxResampler.h"
#include "platform/graphics/CGContext.h"
#include "platform/uikit/UIGraphics.h"
#include "platform/uikit/UIImage.h"

#include <algorithm>
#include <cmath>

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
    const CGRect target = imageRectForContentMode(contentMode(), shown->size(), rect.size);
    imageToDrawInRect(shown, target)->drawInRect(target);
}

std::shared_ptr<UIImage> UIImageView::imageToDrawInRect(const std::shared_ptr<UIImage>& image,
                                                        const CGRect& rect) {
    const auto context = UIGraphicsGetCurrentContext();
    if (!context) {
        return image;
    }
    // The pixels the rectangle covers along each of its sides, turned or not.
    const CGAffineTransform ctm = CGContextGetCTM(context);
    const double across = std::ceil(std::hypot(ctm.a, ctm.b) * std::abs(rect.size.width));
    const double down = std::ceil(std::hypot(ctm.c, ctm.d) * std::abs(rect.size.height));
    const CGImageRef& pixels = image->uprightCGImage();
    if (!(across >= 1 && down >= 1) || double(pixels->width()) < 2 * across ||
        double(pixels->height()) < 2 * down) {
        return image;
    }
    const auto width = static_cast<size_t>(across), height = static_cast<size_t>(down);
    if (reduced_ && reducedFrom_.lock() == image && reduced_->cgImage()->width() == width &&
        reduced_->cgImage()->height() == height) {
        return reduced_;
    }
    CGImageRef copy = BoxResampler::resample(
        pixels, CGRectMake(0, 0, double(pixels->width()), double(pixels->height())), width, height);
    if (!copy) {
        return image; // a mask or grey picture: drawn as it is
    }
    reduced_ = UIImage::imageWithCGImage(std::move(copy));
    reducedFrom_ = image;
    return reduced_;
}
