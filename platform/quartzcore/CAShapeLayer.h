// A layer that paints a path: filled, stroked, or both. As a mask, its filled path is
// what shows through.
#pragma once

#include "platform/quartzcore/CALayer.h"

inline constexpr const char* kCAFillRuleNonZero = "non-zero";
inline constexpr const char* kCAFillRuleEvenOdd = "even-odd";
inline constexpr const char* kCALineCapButt = "butt";
inline constexpr const char* kCALineCapRound = "round";
inline constexpr const char* kCALineCapSquare = "square";
inline constexpr const char* kCALineJoinMiter = "miter";
inline constexpr const char* kCALineJoinRound = "round";
inline constexpr const char* kCALineJoinBevel = "bevel";

class CAShapeLayer : public CALayer {
    NS_OBJECT(CAShapeLayer)
public:
    static std::shared_ptr<CAShapeLayer> layer() { return make<CAShapeLayer>(); }
    static std::shared_ptr<CAShapeLayer> alloc() { return layer(); }

    CGPathRef path() const { return path_; }
    void setPath(CGPathRef path) { path_ = std::move(path); }
    // Null: no fill. Opaque black by default, as the platform.
    const std::optional<CGColor>& fillColor() const { return fillColor_; }
    void setFillColor(std::optional<CGColor> color) { fillColor_ = color; }
    const std::optional<CGColor>& strokeColor() const { return strokeColor_; }
    void setStrokeColor(std::optional<CGColor> color) { strokeColor_ = color; }
    double lineWidth() const { return lineWidth_; }
    void setLineWidth(double width) { lineWidth_ = width; }
    const std::string& fillRule() const { return fillRule_; }
    void setFillRule(std::string rule) { fillRule_ = std::move(rule); }
    const std::string& lineCap() const { return lineCap_; }
    void setLineCap(std::string cap) { lineCap_ = std::move(cap); }
    const std::string& lineJoin() const { return lineJoin_; }
    void setLineJoin(std::string join) { lineJoin_ = std::move(join); }

    void drawInContext(const CGContextRef& context) const override;

protected:
    CAShapeLayer() = default;

private:
    CGPathRef path_;
    std::optional<CGColor> fillColor_ = CGColorMake(0, 0, 0, 1);
    std::optional<CGColor> strokeColor_;
    double lineWidth_ = 1;
    std::string fillRule_ = kCAFillRuleNonZero;
    std::string lineCap_ = kCALineCapButt;
    std::string lineJoin_ = kCALineJoinMiter;
};
