// What the background chooser hands back to the screen that opened it: a plain colour or
// a picture. The default bodies ignore the choice.
#pragma once

#include <memory>
#include <string>

class UIImage;

class PassValueDelegate {
public:
    virtual ~PassValueDelegate() = default;
    // The chosen colour as hexadecimal text; empty for a tile that has no colour.
    virtual void passSelectedColor(const std::string& color) {}
    // The chosen full-size picture; null when its file is missing.
    virtual void passSelectedImage(const std::shared_ptr<UIImage>& image) {}
};
