// Values a control keeps per state (a UIControlState mask), such as a button's titles or a
// slider's thumb images: a state without a value of its own falls back to Normal's.
#pragma once

#include "platform/uikit/UIControl.h"

#include <map>

template <class T> class UIControlStateValues {
public:
    // An empty value removes the state's own.
    void set(T value, unsigned state) {
        if (value == T{}) {
            values_.erase(state);
        } else {
            values_[state] = std::move(value);
        }
    }
    T get(unsigned state) const {
        auto found = values_.find(state);
        if (found == values_.end()) {
            found = values_.find(UIControlStateNormal);
        }
        return found == values_.end() ? T{} : found->second;
    }

private:
    std::map<unsigned, T> values_;
};
