#include "platform/text/NSParagraphStyle.h"

void NSParagraphStyle::setLineSpacing(double spacing) {
    lineSpacing_ = spacing > 0 ? spacing : 0;
}
