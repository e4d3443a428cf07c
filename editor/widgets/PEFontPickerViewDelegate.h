// What the font picker tells its delegate; optional, the default body doing nothing.
#pragma once

#include <memory>

class PEFontPickerView;
class UIFont;

class PEFontPickerViewDelegate {
public:
    virtual ~PEFontPickerViewDelegate() = default;
    // Every face or size that comes under a drum's centre line, during a drag too.
    virtual void fontPickerViewDidSelectFont(PEFontPickerView& picker,
                                             const std::shared_ptr<UIFont>& font) {}
};
