// The drawing attributes of a view that the platform keeps on its layer: rounded corners
// and clipping, border, shadow, a mask, extra sublayers, and the animations running on it.
#pragma once

#include "platform/base/NSObject.h"
#include "platform/graphics/CGColor.h"
#include "platform/graphics/CGContext.h"
#include "platform/graphics/CGGeometry.h"
#include "platform/graphics/CGPath.h"
#include "platform/quartzcore/CATransform3D.h"

#include <functional>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class CAAnimation;

class CALayer : public NSObject {
    NS_OBJECT(CALayer)
public:
    static std::shared_ptr<CALayer> layer() { return make<CALayer>(); }
    static std::shared_ptr<CALayer> alloc() { return layer(); }

    // Geometry of a free-standing layer (sublayers and masks); a view's own layer takes
    // the view's geometry.
    CGRect frame() const { return frame_; }
    void setFrame(const CGRect& frame) { frame_ = frame; }
    CGRect bounds() const { return CGRectMake(0, 0, frame_.size.width, frame_.size.height); }

    // Applied about the layer's centre; only its affine part is drawn. A view's own layer
    // and the view share it: the view's transform is its affine part, and setting either
    // sets both.
    CATransform3D transform() const { return transform_; }
    void setTransform(const CATransform3D& transform);
    // What a view learns when its own layer's transform is set (the view sets it once, when
    // it makes the layer).
    using TransformObserver = std::function<void(const CATransform3D&)>;
    void setTransformObserver(TransformObserver observer) {
        transformObserver_ = std::move(observer);
    }

    double cornerRadius() const { return cornerRadius_; }
    void setCornerRadius(double radius) { cornerRadius_ = radius; }
    bool masksToBounds() const { return masksToBounds_; }
    void setMasksToBounds(bool masks) { masksToBounds_ = masks; }
    double borderWidth() const { return borderWidth_; }
    void setBorderWidth(double width) { borderWidth_ = width; }
    CGColor borderColor() const { return borderColor_; }
    void setBorderColor(const CGColor& color) { borderColor_ = color; }
    std::optional<CGColor> backgroundColor() const { return backgroundColor_; }
    void setBackgroundColor(std::optional<CGColor> color) { backgroundColor_ = color; }
    float opacity() const { return opacity_; }
    void setOpacity(float opacity) { opacity_ = opacity; }
    bool isHidden() const { return hidden_; }
    void setHidden(bool hidden) { hidden_ = hidden; }

    CGColor shadowColor() const { return shadowColor_; }
    void setShadowColor(const CGColor& color) { shadowColor_ = color; }
    float shadowOpacity() const { return shadowOpacity_; }
    void setShadowOpacity(float opacity) { shadowOpacity_ = opacity; }
    CGSize shadowOffset() const { return shadowOffset_; }
    void setShadowOffset(const CGSize& offset) { shadowOffset_ = offset; }
    double shadowRadius() const { return shadowRadius_; }
    void setShadowRadius(double radius) { shadowRadius_ = radius; }
    CGPathRef shadowPath() const { return shadowPath_; }
    void setShadowPath(CGPathRef path) { shadowPath_ = std::move(path); }

    // The alpha of the mask's content limits what of this layer shows.
    std::shared_ptr<CALayer> mask() const { return mask_; }
    void setMask(std::shared_ptr<CALayer> mask) { mask_ = std::move(mask); }

    const std::vector<std::shared_ptr<CALayer>>& sublayers() const { return sublayers_; }
    void addSublayer(const std::shared_ptr<CALayer>& layer);
    void removeFromSuperlayer();
    std::shared_ptr<CALayer> superlayer() const { return superlayer_.lock(); }

    // Animations are recorded under their keys; the model values do not change. After
    // its duration (on the run loop's clock) an animation is removed, unless it asks not
    // to be, and its delegate is told it stopped.
    void addAnimationForKey(const std::shared_ptr<CAAnimation>& animation, const std::string& key);
    std::shared_ptr<CAAnimation> animationForKey(const std::string& key) const;
    std::vector<std::string> animationKeys() const;
    void removeAnimationForKey(const std::string& key);
    void removeAllAnimations();

    // Paints this layer's own content (a plain layer: its background colour), in its
    // bounds' coordinates, into `context`.
    virtual void drawInContext(const CGContextRef& context) const;

    // Whether a change of `key` repaints the layer. A layer that draws from properties of
    // its own answers yes for them, so that an animation of one repaints it on every
    // frame; a plain layer answers no for every key.
    virtual bool needsDisplayForKey(const std::string& key) const;
    // Asks for the content to be painted again. Every screenshot paints every layer, so
    // this is only recorded; an animation of a key the layer repaints for asks too.
    void setNeedsDisplay() { needsDisplay_ = true; }
    bool needsDisplay() const { return needsDisplay_; }
    // Makes this new layer a copy of `layer` to show in its place while an animation runs:
    // geometry and drawing attributes, not sublayers, mask, animations or place in a tree.
    // A layer that draws from properties of its own copies them too.
    virtual void initWithLayer(const CALayer& layer);
    // The layer as shown now: while an animation of a key it repaints for runs, a copy of
    // the layer's class (through the class registry) made by initWithLayer; otherwise the
    // layer itself. Animations are not interpolated, so the copy shows the model values.
    std::shared_ptr<const CALayer> presentationLayer() const;

protected:
    CALayer() = default;

private:
    void finishAnimation(const std::string& key, const std::shared_ptr<CAAnimation>& animation,
                         bool finished);
    // Whether the animation moves a key this layer repaints for.
    bool repaintsFor(const CAAnimation& animation) const;

    CGRect frame_{};
    CATransform3D transform_ = CATransform3DIdentity;
    TransformObserver transformObserver_;
    double cornerRadius_ = 0;
    bool masksToBounds_ = false;
    double borderWidth_ = 0;
    CGColor borderColor_ = CGColorMake(0, 0, 0, 1);
    std::optional<CGColor> backgroundColor_;
    float opacity_ = 1;
    bool hidden_ = false;
    bool needsDisplay_ = false;
    CGColor shadowColor_ = CGColorMake(0, 0, 0, 1);
    float shadowOpacity_ = 0;
    CGSize shadowOffset_{0, -3};
    double shadowRadius_ = 3;
    CGPathRef shadowPath_;
    std::shared_ptr<CALayer> mask_;
    std::vector<std::shared_ptr<CALayer>> sublayers_;
    std::weak_ptr<CALayer> superlayer_;
    std::map<std::string, std::shared_ptr<CAAnimation>> animations_;
    std::map<std::string, uint64_t> animationTimers_;
};
