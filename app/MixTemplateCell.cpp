#include "app/MixTemplateCell.h"

bool MixTemplateCell::containsPoint(CGPoint point) const {
    return realCellArea_ && realCellArea_->containsPoint(point);
}

CGSize MixTemplateCell::coveringSizeForImageSizeInCellSize(CGSize imageSize, CGSize cellSize) {
    double iw = imageSize.width, ih = imageSize.height;
    double cw = cellSize.width, ch = cellSize.height;
    if (!(iw > 0) || !(ih > 0)) {
        return cellSize;
    }
    double w, h;
    if (cw > ch) {
        w = cw;
        h = cw * ih / iw;
        if (h < ch) {
            h = ch;
            w = ch * iw / ih;
        }
    } else {
        h = ch;
        w = ch * iw / ih;
        if (w < cw) {
            w = cw;
            h = cw * ih / iw;
        }
    }
    return CGSizeMake(w, h);
}
