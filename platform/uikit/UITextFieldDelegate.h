// What a text field asks and tells its delegate; the default bodies are what an absent
// optional method means (YES to every question).
#pragma once

#include "platform/foundation/NSRange.h"

#include <string>

class UITextField;

class UITextFieldDelegate {
public:
    virtual ~UITextFieldDelegate() = default;

    virtual bool textFieldShouldBeginEditing(UITextField& textField) { return true; }
    virtual void textFieldDidBeginEditing(UITextField& textField) {}
    virtual bool textFieldShouldEndEditing(UITextField& textField) { return true; }
    virtual void textFieldDidEndEditing(UITextField& textField) {}
    // Before typed text replaces `range` of the text (a deletion brings an empty string).
    virtual bool
    textFieldShouldChangeCharactersInRangeReplacementString(UITextField& textField, NSRange range,
                                                            const std::string& string) {
        return true;
    }
    // The return key; NO keeps it from ending the editing (no EditingDidEndOnExit).
    virtual bool textFieldShouldReturn(UITextField& textField) { return true; }
};
