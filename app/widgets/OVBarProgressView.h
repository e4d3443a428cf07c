// A horizontal pill-shaped progress bar.
#pragma once

#include "platform/uikit/UIView.h"

class OVBarProgressView : public UIView {
    NS_OBJECT(OVBarProgressView)
public:
    // 120 x 20, clear and not opaque.
    static std::shared_ptr<OVBarProgressView> init();
    static std::shared_ptr<OVBarProgressView> alloc() { return init(); }

    float progress() const { return progress_; }
    void setProgress(float progress);
    std::shared_ptr<UIColor> lineColor() const { return lineColor_; }
    void setLineColor(std::shared_ptr<UIColor> color);
    std::shared_ptr<UIColor> progressRemainingColor() const { return progressRemainingColor_; }
    void setProgressRemainingColor(std::shared_ptr<UIColor> color);
    std::shared_ptr<UIColor> progressColor() const { return progressColor_; }
    void setProgressColor(std::shared_ptr<UIColor> color);

    void drawRect(const CGRect& rect) override;

protected:
    OVBarProgressView();

private:
    float progress_ = 0;
    std::shared_ptr<UIColor> lineColor_;
    std::shared_ptr<UIColor> progressRemainingColor_;
    std::shared_ptr<UIColor> progressColor_;
};
