// A round progress indicator: a filled pie, or a ring when annular.
#pragma once

#include "platform/uikit/UIView.h"

class OVRoundProgressView : public UIView {
    NS_OBJECT(OVRoundProgressView)
public:
    // 37 x 37, clear and not opaque.
    static std::shared_ptr<OVRoundProgressView> init();
    static std::shared_ptr<OVRoundProgressView> alloc() { return init(); }

    float progress() const { return progress_; }
    void setProgress(float progress);
    std::shared_ptr<UIColor> progressTintColor() const { return progressTintColor_; }
    void setProgressTintColor(std::shared_ptr<UIColor> color);
    std::shared_ptr<UIColor> backgroundTintColor() const { return backgroundTintColor_; }
    void setBackgroundTintColor(std::shared_ptr<UIColor> color);
    bool isAnnular() const { return annular_; }
    void setAnnular(bool annular);

    void drawRect(const CGRect& rect) override;

protected:
    OVRoundProgressView();

private:
    float progress_ = 0;
    std::shared_ptr<UIColor> progressTintColor_;
    std::shared_ptr<UIColor> backgroundTintColor_;
    bool annular_ = false;
};
