// What the text panel tells its delegate of each change; every method is optional, the
// default bodies doing nothing.
#pragma once

#include <memory>
#include <string>

class PETextSettingView;
class UIColor;
class UIFont;

class PETextSettingViewDelegate {
public:
    virtual ~PETextSettingViewDelegate() = default;
    virtual void textSettingViewDidChangeText(PETextSettingView& panel, const std::string& text) {}
    virtual void textSettingViewDidChangeFillColor(PETextSettingView& panel,
                                                   const std::shared_ptr<UIColor>& color) {}
    virtual void textSettingViewDidChangeBorderColor(PETextSettingView& panel,
                                                     const std::shared_ptr<UIColor>& color) {}
    virtual void textSettingViewDidChangeBorderWidth(PETextSettingView& panel, double width) {}
    virtual void textSettingViewDidChangeFont(PETextSettingView& panel,
                                              const std::shared_ptr<UIFont>& font) {}
};
