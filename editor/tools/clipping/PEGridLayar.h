// The crop grid's layer: tints everything outside the crop rectangle and draws a three by
// three grid inside it, the outer lines being the rectangle's border. Its rectangle is an
// animatable key that repaints the layer, so an animation of it redraws the grid on every
// frame, and its animation copies draw the same way.
#pragma once

#include "platform/quartzcore/CALayer.h"

#include <memory>
#include <string>

class UIColor;

class PEGridLayar : public CALayer {
    NS_OBJECT(PEGridLayar)
public:
    // Tint and grid of no colour (nothing drawn) until they are set.
    static std::shared_ptr<PEGridLayar> layer() { return make<PEGridLayar>(); }
    static std::shared_ptr<PEGridLayar> alloc() { return layer(); }

    // In the layer's coordinates.
    CGRect clippingRect() const { return clippingRect_; }
    void setClippingRect(const CGRect& rect) { clippingRect_ = rect; }
    std::shared_ptr<UIColor> bgColor() const { return bgColor_; }
    void setBgColor(std::shared_ptr<UIColor> color) { bgColor_ = std::move(color); }
    std::shared_ptr<UIColor> gridColor() const { return gridColor_; }
    void setGridColor(std::shared_ptr<UIColor> color) { gridColor_ = std::move(color); }

    // "clippingRect" repaints; other keys as any layer.
    bool needsDisplayForKey(const std::string& key) const override;
    // Also the rectangle and both colours of another grid layer.
    void initWithLayer(const CALayer& layer) override;
    void drawInContext(const CGContextRef& context) const override;

protected:
    PEGridLayar() = default;

private:
    CGRect clippingRect_{};
    std::shared_ptr<UIColor> bgColor_;
    std::shared_ptr<UIColor> gridColor_;
};
