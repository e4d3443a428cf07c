// What a dropdown menu tells its delegate. Optional.
#pragma once

class DMDropdownView;

class DMDropdownViewDelegate {
public:
    virtual ~DMDropdownViewDelegate() = default;
    // The dimmed area was tapped; told once the menu has had the time to close.
    virtual void dropdownViewDidTapBackgroundButton(DMDropdownView& dropdownView) {}
};
