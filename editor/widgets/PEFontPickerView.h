// A typeface and a size on two drums: the bundled faces, each row written in its own face
// (showing a sample text, or the face's name), and a fixed set of sizes. The size drum may
// be hidden, giving the whole width to the faces; the chosen size still counts.
#pragma once

#include "editor/widgets/PEFontPickerViewDelegate.h"
#include "editor/widgets/PEPickerViewDelegate.h"
#include "platform/uikit/UIView.h"

#include <memory>
#include <string>
#include <vector>

class PEPickerView;
class UIColor;
class UIFont;

class PEFontPickerView : public UIView, public PEPickerViewDataSource, public PEPickerViewDelegate {
    NS_OBJECT(PEFontPickerView)
public:
    // Every bundled face at 14 points, sorted by name.
    static std::vector<std::shared_ptr<UIFont>> allFontList();
    static std::vector<double> defaultSizes();
    // The app's own face at 14 points: the face the design names is not among the
    // bundled ones, and the system face stands in for it.
    static std::shared_ptr<UIFont> defaultFont();

    static std::shared_ptr<PEFontPickerView> initWithFrame(const CGRect& frame);
    static std::shared_ptr<PEFontPickerView> alloc() { return initWithFrame(CGRectZero); }

    std::shared_ptr<PEFontPickerViewDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(std::weak_ptr<PEFontPickerViewDelegate> delegate) {
        delegate_ = std::move(delegate);
    }
    const std::vector<std::shared_ptr<UIFont>>& fontList() const { return fontList_; }
    // A different list reloads the face drum.
    void setFontList(std::vector<std::shared_ptr<UIFont>> fonts);
    const std::vector<double>& fontSizes() const { return fontSizes_; }
    // A different list reloads the size drum.
    void setFontSizes(std::vector<double> sizes);
    // The selected face at the selected size.
    std::shared_ptr<UIFont> font() const;
    // Selects the font's face (the first face when it is not listed) and the first size at
    // least as large as its own, or the largest for a larger font.
    void setFont(const std::shared_ptr<UIFont>& font);
    const std::string& text() const { return text_; }
    // Shows when rows are next built.
    void setText(std::string text) { text_ = std::move(text); }
    bool sizeComponentHidden() const { return sizeComponentHidden_; }
    void setSizeComponentHidden(bool hidden);
    std::shared_ptr<UIColor> foregroundColor() const;
    void setForegroundColor(std::shared_ptr<UIColor> color);
    std::shared_ptr<UIColor> textColor() const { return textColor_; }
    // Shows when rows are next built.
    void setTextColor(std::shared_ptr<UIColor> color) { textColor_ = std::move(color); }
    PEPickerView& pickerView() const { return *pickerView_; }

    long numberOfComponentsInPickerView(PEPickerView& pickerView) override;
    long pickerViewNumberOfRowsInComponent(PEPickerView& pickerView, long component) override;
    std::optional<double> pickerViewRowHeightForComponent(PEPickerView& pickerView,
                                                          long component) override;
    double pickerViewWidthForComponent(PEPickerView& pickerView, long component) override;
    std::shared_ptr<UIView>
    pickerViewViewForRowForComponentReusingView(PEPickerView& pickerView, long row, long component,
                                                std::shared_ptr<UIView> view) override;
    void pickerViewDidSelectRowInComponent(PEPickerView& pickerView, long row,
                                           long component) override;

protected:
    PEFontPickerView() = default;

private:
    std::shared_ptr<PEPickerView> pickerView_;
    std::weak_ptr<PEFontPickerViewDelegate> delegate_;
    std::vector<std::shared_ptr<UIFont>> fontList_;
    std::vector<double> fontSizes_;
    std::string text_;
    bool sizeComponentHidden_ = false;
    std::shared_ptr<UIColor> textColor_;
};
