// What a host may supply to the editor's theme. Every method is optional: the default
// bodies are what an absent method means.
#pragma once

#include <memory>

class UIView;

class PEImageEditorThemeDelegate {
public:
    virtual ~PEImageEditorThemeDelegate() = default;
    // The view shown while a tool computes; null keeps the theme's own indicator.
    virtual std::shared_ptr<UIView> imageEditorThemeActivityIndicatorView() { return nullptr; }
};
