// The crop grid of the clipping tool: a view laid exactly over the editor's image view
// (its coordinates are the picture as shown) holding the crop rectangle and an optional
// aspect ratio. Its layer tints what lies outside the rectangle and draws a three by three
// grid inside; four round handles in the superview sit on the rectangle's corners.
// Dragging a handle moves its corner, keeping the ratio when there is one; dragging inside
// the rectangle moves it whole. Main thread only.
//
// Kept sound where a plain reading would not be:
// - A dragged corner stops a tenth of the panel before the opposite edge in every case,
//   so the rectangle never closes to nothing (the minimum is a tenth of the panel's width
//   and height; a thinner rectangle, as a very flat ratio gives, is not made thinner).
// - With a ratio, the coordinate derived from the one the finger leads is limited again:
//   the corner moves along the ratio's diagonal only as far as it stays inside the panel
//   and above the minimum, so the rectangle never leaves the panel.
#pragma once

#include "platform/uikit/UIView.h"

#include <array>
#include <memory>

class PEClippingCircle;
class PEGridLayar;
class PERatio;
class UIColor;
class UIGestureRecognizer;

class PEClippingPanel : public UIView {
    NS_OBJECT(PEClippingPanel)
public:
    // The panel at `frame` (in `superview`'s coordinates) added to `superview`, with its
    // grid layer (white tint, black grid, both at 0.6), its four handles in the superview,
    // and the rectangle covering the whole panel.
    static std::shared_ptr<PEClippingPanel>
    initWithSuperviewFrame(const std::shared_ptr<UIView>& superview, const CGRect& frame);
    static std::shared_ptr<PEClippingPanel> alloc();

    CGRect clippingRect() const { return clippingRect_; }
    // Puts the handles on the rectangle's corners and the rectangle into the layer.
    void setClippingRect(const CGRect& rect);
    // Animated: the handles move in a 0.2-second view animation and the layer gets a
    // 0.2-second animation of its rectangle from the old to the new one.
    void setClippingRectAnimated(const CGRect& rect, bool animated);
    std::shared_ptr<PERatio> clippingRatio() const { return clippingRatio_; }
    // Another object than the current one re-fits the rectangle; the same one does nothing.
    void setClippingRatio(std::shared_ptr<PERatio> ratio);
    // The largest rectangle of the ratio, centred (the whole panel without one), animated.
    void clippingRatioDidChange();
    // The view's and the layer's.
    void setNeedsDisplay() override;
    // The tint, on the layer.
    void setBgColor(const std::shared_ptr<UIColor>& color);
    // The grid, on the layer, and the handles' dots at full opacity.
    void setGridColor(const std::shared_ptr<UIColor>& color);

    // The recognisers' actions.
    void panCircleView(UIGestureRecognizer& sender);
    void panGridView(UIGestureRecognizer& sender);

    // Where a drag of the handle `tag` (0 top left, 1 bottom left, 2 top right, 3 bottom
    // right) with the finger at `location` and `translation` since it began leaves `rect`,
    // in a panel of `size` with the ratio `ratio` (height over width, 0 for none).
    static CGRect rectByDraggingCorner(long tag, CGPoint location, CGPoint translation,
                                       const CGRect& rect, CGSize size, double ratio);
    // The largest rectangle of `ratio` centred in a panel of `size`; the whole panel for 0.
    static CGRect rectFittingRatio(double ratio, CGSize size);

    std::shared_ptr<PEGridLayar> gridLayer() const { return gridLayer_; }
    // Top left, bottom left, top right, bottom right.
    const std::array<std::shared_ptr<PEClippingCircle>, 4>& circles() const { return circles_; }

protected:
    PEClippingPanel() = default;
    // Leaving the superview takes the handles along.
    void didMoveToSuperview() override;

private:
    std::shared_ptr<PEClippingCircle> clippingCircleWithTag(long tag);
    void placeCircles(const CGRect& rect);

    std::shared_ptr<PEGridLayar> gridLayer_;
    std::array<std::shared_ptr<PEClippingCircle>, 4> circles_;
    std::shared_ptr<PERatio> clippingRatio_;
    CGRect clippingRect_{};
};
