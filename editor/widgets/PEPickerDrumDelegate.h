// What a drum asks the one that fills it, and tells it of the selection. The number of
// rows is required; the rest is optional, the default bodies being what an absent method
// means.
#pragma once

#include <memory>
#include <optional>
#include <string>

class PEPickerDrum;
class UIView;

class PEPickerDrumDataSource {
public:
    virtual ~PEPickerDrumDataSource() = default;
    virtual long numberOfRowsInPickerDrum(PEPickerDrum& drum) = 0;
};

class PEPickerDrumDelegate {
public:
    virtual ~PEPickerDrumDelegate() = default;
    // No answer: a third of the drum's height, rounded up.
    virtual std::optional<double> rowHeightInPickerDrum(PEPickerDrum& drum) { return std::nullopt; }
    // The row's view, refilling `view` (a row view leaving the other end) when it can; null
    // makes the drum show the title in a label.
    virtual std::shared_ptr<UIView> pickerDrumViewForRowReusingView(PEPickerDrum& drum, long row,
                                                                    std::shared_ptr<UIView> view) {
        return nullptr;
    }
    virtual std::string pickerDrumTitleForRow(PEPickerDrum& drum, long row) { return ""; }
    // Every row that comes under the centre line, during a drag or a fling too.
    virtual void pickerDrumDidSelectRow(PEPickerDrum& drum, long row) {}
};
