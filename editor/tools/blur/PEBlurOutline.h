// What both outlines of the blur tool do when they change: show themselves, then fade.
#pragma once

class UIView;

namespace PEBlurOutline {
// Asks for a redraw, makes the view fully opaque and fades it out over 0.2 s after a
// second, letting touches through meanwhile. Done when the change is made rather than
// while drawing: a view is never changed in the middle of being drawn.
void showAndFade(UIView& outline);
} // namespace PEBlurOutline
