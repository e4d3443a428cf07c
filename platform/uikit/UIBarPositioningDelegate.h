// What a bar asks its delegate about where it stands. Optional: the default body is what
// an absent method means.
#pragma once

class UIView;

// Where a bar stands, numbered as the platform numbers them. A bar attached to the top
// of the screen draws its background up behind the status bar.
enum class UIBarPosition { Any = 0, Bottom = 1, Top = 2, TopAttached = 3 };

class UIBarPositioningDelegate {
public:
    virtual ~UIBarPositioningDelegate() = default;
    virtual UIBarPosition positionForBar(const UIView& bar) { return UIBarPosition::Any; }
};
