// The spot effect's marker: a thin ring just inside its bounds, over a clear background.
// It shows at full opacity whenever the spot changes and fades out (0.2 s) a second after
// the last change, still letting touches through.
#pragma once

#include "editor/PEOutlineFade.h"
#include "platform/uikit/UIView.h"

#include <memory>

class UIColor;

class PESpotCircle : public UIView {
    NS_OBJECT(PESpotCircle)
public:
    static std::shared_ptr<PESpotCircle> initWithFrame(const CGRect& frame);
    static std::shared_ptr<PESpotCircle> alloc() { return initWithFrame(CGRectZero); }

    // The ring's colour; none draws nothing.
    std::shared_ptr<UIColor> color() const { return color_; }
    void setColor(std::shared_ptr<UIColor> color);

    // Asks for the ring to be drawn again, shows it at once and starts its fade anew.
    void redisplay();
    // The ring, stroked one point inside the bounds with the default line width.
    void drawRect(const CGRect& rect) override;

protected:
    PESpotCircle() = default;

private:
    std::shared_ptr<UIColor> color_;
    PEOutlineFade fade_;
};
