#include "platform/uikit/NSTextAttributes.h"

TextStyle NSTextAttributes::textStyle() const {
    TextStyle style;
    style.font = font;
    if (foregroundColor) {
        style.foreground = foregroundColor->cgColor();
    }
    if (strokeColor) {
        style.stroke = strokeColor->cgColor();
    }
    style.strokeWidth = strokeWidth;
    style.kern = kern;
    style.paragraphStyle = paragraphStyle;
    return style;
}
