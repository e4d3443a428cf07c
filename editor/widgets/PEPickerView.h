// Drums side by side, one per component, each as wide as the delegate says (an equal share
// when it says 0). It answers its drums' questions by asking its own data source and
// delegate in terms of row and component, the drum's tag being its component.
#pragma once

#include "editor/widgets/PEPickerDrumDelegate.h"
#include "editor/widgets/PEPickerViewDelegate.h"
#include "platform/uikit/UIView.h"

#include <memory>
#include <vector>

class PEPickerDrum;
class UIColor;

class PEPickerView : public UIView, public PEPickerDrumDataSource, public PEPickerDrumDelegate {
    NS_OBJECT(PEPickerView)
public:
    static std::shared_ptr<PEPickerView> initWithFrame(const CGRect& frame);
    static std::shared_ptr<PEPickerView> alloc() { return initWithFrame(CGRectZero); }

    std::shared_ptr<PEPickerViewDataSource> dataSource() const { return dataSource_.lock(); }
    // Another object than the one held unloads the picker.
    void setDataSource(const std::shared_ptr<PEPickerViewDataSource>& dataSource);
    std::shared_ptr<PEPickerViewDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(const std::shared_ptr<PEPickerViewDelegate>& delegate);
    // Handed to every drum at layout; none (the default) gives them no veil.
    std::shared_ptr<UIColor> foregroundColor() const { return foregroundColor_; }
    void setForegroundColor(std::shared_ptr<UIColor> color) { foregroundColor_ = std::move(color); }

    // These lay the picker out first when it is not loaded; a component out of range is
    // ignored.
    void reloadComponent(long component);
    void selectRowInComponentAnimated(long row, long component, bool animated);
    // 0 for a component out of range; lays nothing out.
    long selectedRowInComponent(long component) const;
    double widthForComponent(long component);
    const std::vector<std::shared_ptr<PEPickerDrum>>& drums() const { return drums_; }

    // A drum per component, placed left to right; surplus drums go.
    void layoutSubviews() override;

    long numberOfRowsInPickerDrum(PEPickerDrum& drum) override;
    std::optional<double> rowHeightInPickerDrum(PEPickerDrum& drum) override;
    std::shared_ptr<UIView> pickerDrumViewForRowReusingView(PEPickerDrum& drum, long row,
                                                            std::shared_ptr<UIView> view) override;
    std::string pickerDrumTitleForRow(PEPickerDrum& drum, long row) override;
    void pickerDrumDidSelectRow(PEPickerDrum& drum, long row) override;

protected:
    PEPickerView() = default;

private:
    std::vector<std::shared_ptr<PEPickerDrum>> drums_;
    bool didLoad_ = false;
    std::weak_ptr<PEPickerViewDataSource> dataSource_;
    std::weak_ptr<PEPickerViewDelegate> delegate_;
    std::shared_ptr<UIColor> foregroundColor_;
};
