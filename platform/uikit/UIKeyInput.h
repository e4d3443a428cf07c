// What a responder that takes the keyboard's keys answers: the text views. The keyboard
// types through these calls, one character a key, the return key as a line feed.
#pragma once

#include <string>

enum class UIKeyboardType {
    Default,
    // Digits only, and no return key.
    NumberPad,
};

class UIKeyInput {
public:
    virtual ~UIKeyInput() = default;

    virtual bool hasText() const = 0;
    virtual void insertText(const std::string& text) = 0;
    virtual void deleteBackward() = 0;
    // Which keyboard comes up for this responder.
    virtual UIKeyboardType keyboardType() const { return UIKeyboardType::Default; }
};
