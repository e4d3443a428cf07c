// Frame arithmetic and subview helpers on every view. The edge accessors work in 32-bit
// floats: layout numbers that pass through them are single-precision values. Main thread
// only.
#pragma once

#include "platform/graphics/CGGeometry.h"

#include <functional>
#include <memory>
#include <string>

class NSObject;
class UIGestureRecognizer;
class UILongPressGestureRecognizer;
class UITapGestureRecognizer;
class UIView;

namespace UIViewx {
void offset(UIView& view, const CGPoint& delta);
void setPosition(UIView& view, const CGPoint& origin);
void setSize(UIView& view, const CGSize& size);
CGPoint postion(const UIView& view);
CGSize size(const UIView& view);
// The centre in the view's own coordinates, ignoring the bounds origin.
CGPoint boundsCenter(const UIView& view);

float left(const UIView& view);
float top(const UIView& view);
float width(const UIView& view);
float height(const UIView& view);
float right(const UIView& view);
float bottom(const UIView& view);
void setLeft(UIView& view, float left);
void setTop(UIView& view, float top);
void setRight(UIView& view, float right);
void setBottom(UIView& view, float bottom);
void setWidth(UIView& view, float width);
void setHeight(UIView& view, float height);

void clearSubviews(UIView& view);
// Index helpers check the range: an index that names no subview gives null / does nothing.
std::shared_ptr<UIView> viewAtIndex(const UIView& view, int index);
void removeViewAtIndex(UIView& view, int index);
void replaceViewAtIndex(UIView& view, const std::shared_ptr<UIView>& replacement, int index);
// -1 when the view is not a subview.
int indexOfView(const UIView& view, const UIView* subview);
// The point is in the superview's coordinates.
bool pointInsideFrame(const UIView& view, const CGPoint& point);

// Recognisers added to the view, calling the action with the recogniser.
std::shared_ptr<UITapGestureRecognizer>
addTapGestureRecognizerForAction(UIView& view, std::weak_ptr<NSObject> target,
                                 std::function<void(UIGestureRecognizer&)> action);
std::shared_ptr<UILongPressGestureRecognizer>
addLongPressGestureRecognizerForAction(UIView& view, std::weak_ptr<NSObject> target,
                                       std::function<void(UIGestureRecognizer&)> action);

// Adds the view and fades it in over the duration.
void transitionToAddSubviewDuration(UIView& view, const std::shared_ptr<UIView>& subview,
                                    double duration);
// Fades the view out over the duration, then removes it (with its alpha back at 1).
void transitionToRemoveFromSuperview(const std::shared_ptr<UIView>& view, double duration);

// One line per view, "prefix description", subviews indented by "  |".
std::string recursiveDescription(const UIView& view);
std::string recursiveDescription(const UIView& view, const std::string& prefix);
// Centres the visible subviews side by side in one row, without spacing.
void layoutSubviewsInCenter(UIView& view);
} // namespace UIViewx
