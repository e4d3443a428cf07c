// What a drum picker asks the one that fills it, per component, and tells it of the
// selection. The counts are required; the rest is optional, the default bodies being what
// an absent method means.
#pragma once

#include <memory>
#include <optional>
#include <string>

class PEPickerView;
class UIView;

class PEPickerViewDataSource {
public:
    virtual ~PEPickerViewDataSource() = default;
    virtual long numberOfComponentsInPickerView(PEPickerView& pickerView) = 0;
    virtual long pickerViewNumberOfRowsInComponent(PEPickerView& pickerView, long component) = 0;
};

class PEPickerViewDelegate {
public:
    virtual ~PEPickerViewDelegate() = default;
    // 0: an equal share of the picker's width.
    virtual double pickerViewWidthForComponent(PEPickerView& pickerView, long component) {
        return 0;
    }
    // No answer: "component - row".
    virtual std::optional<std::string> pickerViewTitleForRowForComponent(PEPickerView& pickerView,
                                                                         long row, long component) {
        return std::nullopt;
    }
    virtual std::shared_ptr<UIView>
    pickerViewViewForRowForComponentReusingView(PEPickerView& pickerView, long row, long component,
                                                std::shared_ptr<UIView> view) {
        return nullptr;
    }
    // No answer: a third of the picker's height, rounded up.
    virtual std::optional<double> pickerViewRowHeightForComponent(PEPickerView& pickerView,
                                                                  long component) {
        return std::nullopt;
    }
    virtual void pickerViewDidSelectRowInComponent(PEPickerView& pickerView, long row,
                                                   long component) {}
};
