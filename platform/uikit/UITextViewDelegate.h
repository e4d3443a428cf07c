// What a text view asks and tells its delegate besides its scrolling; the default bodies
// are what an absent optional method means (YES to every question).
#pragma once

#include "platform/foundation/NSRange.h"
#include "platform/uikit/UIScrollViewDelegate.h"

#include <string>

class UITextView;

class UITextViewDelegate : public virtual UIScrollViewDelegate {
public:
    virtual bool textViewShouldBeginEditing(UITextView& textView) { return true; }
    virtual void textViewDidBeginEditing(UITextView& textView) {}
    virtual bool textViewShouldEndEditing(UITextView& textView) { return true; }
    virtual void textViewDidEndEditing(UITextView& textView) {}
    // Before typed text replaces `range` of the text (a deletion brings an empty string).
    virtual bool textViewShouldChangeTextInRangeReplacementText(UITextView& textView, NSRange range,
                                                                const std::string& text) {
        return true;
    }
    // After the user changed the text (not after setText).
    virtual void textViewDidChange(UITextView& textView) {}
};
