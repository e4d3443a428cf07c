#include "platform/uikit/UICollectionViewFlowLayout.h"

#include "platform/uikit/UICollectionView.h"
#include "platform/uikit/UICollectionViewLayoutAttributes.h"

#include <algorithm>
#include <cmath>

namespace {
// Lets items that fit exactly (four of 92.25 with three gaps of 2 in 375) count as fitting
// despite rounding.
constexpr CGFloat kFitTolerance = 1e-9;

// Whether two rectangles share some area (touching edges do not count).
bool overlaps(const CGRect& a, const CGRect& b) {
    return CGRectGetMinX(a) < CGRectGetMaxX(b) && CGRectGetMinX(b) < CGRectGetMaxX(a) &&
           CGRectGetMinY(a) < CGRectGetMaxY(b) && CGRectGetMinY(b) < CGRectGetMaxY(a);
}
} // namespace

void UICollectionViewFlowLayout::setItemSize(const CGSize& size) {
    itemSize_ = size;
    invalidateLayout();
}

void UICollectionViewFlowLayout::setMinimumInteritemSpacing(CGFloat spacing) {
    minimumInteritemSpacing_ = spacing;
    invalidateLayout();
}

void UICollectionViewFlowLayout::setMinimumLineSpacing(CGFloat spacing) {
    minimumLineSpacing_ = spacing;
    invalidateLayout();
}

void UICollectionViewFlowLayout::setSectionInset(const UIEdgeInsets& insets) {
    sectionInset_ = insets;
    invalidateLayout();
}

void UICollectionViewFlowLayout::setScrollDirection(UICollectionViewScrollDirection direction) {
    scrollDirection_ = direction;
    invalidateLayout();
}

CGFloat UICollectionViewFlowLayout::itemAlong() const {
    return scrollDirection_ == UICollectionViewScrollDirection::Vertical ? itemSize_.height
                                                                         : itemSize_.width;
}

CGFloat UICollectionViewFlowLayout::itemAcross() const {
    return scrollDirection_ == UICollectionViewScrollDirection::Vertical ? itemSize_.width
                                                                         : itemSize_.height;
}

CGRect UICollectionViewFlowLayout::rectAlongAcross(CGFloat along, CGFloat across) const {
    if (scrollDirection_ == UICollectionViewScrollDirection::Vertical) {
        return CGRectMake(across, along, itemSize_.width, itemSize_.height);
    }
    return CGRectMake(along, across, itemSize_.width, itemSize_.height);
}

void UICollectionViewFlowLayout::prepareLayout() {
    sections_.clear();
    contentSize_ = CGSizeZero;
    const auto view = collectionView();
    if (!view) {
        return;
    }
    const bool vertical = scrollDirection_ == UICollectionViewScrollDirection::Vertical;
    const UIEdgeInsets& inset = sectionInset_;
    const CGSize visible = UIEdgeInsetsInsetRect(view->bounds(), view->contentInset()).size;
    const CGFloat across = std::max<CGFloat>(0, vertical ? visible.width : visible.height);
    const CGFloat leadAlong = vertical ? inset.top : inset.left;
    const CGFloat trailAlong = vertical ? inset.bottom : inset.right;
    const CGFloat leadAcross = vertical ? inset.left : inset.top;
    const CGFloat trailAcross = vertical ? inset.right : inset.bottom;
    const CGFloat pitch = itemAcross() + minimumInteritemSpacing_;

    CGFloat position = 0;
    const long sectionCount = view->numberOfSections();
    for (long s = 0; s < sectionCount; ++s) {
        Section section;
        section.items = view->numberOfItemsInSection(s);
        section.room = across - leadAcross - trailAcross;
        if (pitch > 0) {
            const auto fit =
                std::floor((section.room + minimumInteritemSpacing_) / pitch + kFitTolerance);
            section.perLine = std::max(1L, long(fit));
        }
        section.lines = (section.items + section.perLine - 1) / section.perLine;
        if (section.perLine > 1) {
            section.fullLineSpacing =
                (section.room - CGFloat(section.perLine) * itemAcross()) / (section.perLine - 1);
        }
        section.start = position + leadAlong;
        section.end = section.start + CGFloat(section.lines) * itemAlong() +
                      CGFloat(std::max(0L, section.lines - 1)) * minimumLineSpacing_ + trailAlong;
        position = section.end;
        sections_.push_back(section);
    }
    contentSize_ = vertical ? CGSizeMake(across, position) : CGSizeMake(position, across);
}

CGRect UICollectionViewFlowLayout::frameOfItem(const Section& section, long item) const {
    const bool vertical = scrollDirection_ == UICollectionViewScrollDirection::Vertical;
    const CGFloat leadAcross = vertical ? sectionInset_.left : sectionInset_.top;
    const long line = item / section.perLine;
    const long place = item % section.perLine;
    const bool full = (line + 1) * section.perLine <= section.items;
    CGFloat across = leadAcross;
    if (section.perLine == 1) {
        across += std::max<CGFloat>(0, (section.room - itemAcross()) / 2);
    } else {
        const CGFloat spacing = full ? section.fullLineSpacing : minimumInteritemSpacing_;
        across += CGFloat(place) * (itemAcross() + spacing);
    }
    const CGFloat along = section.start + CGFloat(line) * (itemAlong() + minimumLineSpacing_);
    return rectAlongAcross(along, across);
}

std::vector<std::shared_ptr<UICollectionViewLayoutAttributes>>
UICollectionViewFlowLayout::layoutAttributesForElementsInRect(const CGRect& rect) const {
    const bool vertical = scrollDirection_ == UICollectionViewScrollDirection::Vertical;
    const CGFloat from = vertical ? CGRectGetMinY(rect) : CGRectGetMinX(rect);
    const CGFloat to = vertical ? CGRectGetMaxY(rect) : CGRectGetMaxX(rect);
    const CGFloat linePitch = itemAlong() + minimumLineSpacing_;
    std::vector<std::shared_ptr<UICollectionViewLayoutAttributes>> found;
    for (size_t s = 0; s < sections_.size(); ++s) {
        const Section& section = sections_[s];
        if (section.lines == 0 || section.end <= from || section.start >= to) {
            continue;
        }
        // Only the lines that may reach into the rectangle are looked at.
        const CGFloat lastLine = CGFloat(section.lines - 1);
        CGFloat firstNear = 0;
        CGFloat lastNear = lastLine;
        if (linePitch > 0) {
            firstNear =
                std::clamp<CGFloat>(std::floor((from - section.start) / linePitch), 0, lastLine);
            lastNear =
                std::clamp<CGFloat>(std::floor((to - section.start) / linePitch), 0, lastLine);
        }
        const long first = long(firstNear);
        const long last = long(lastNear);
        for (long line = first; line <= last; ++line) {
            const long end = std::min(section.items, (line + 1) * section.perLine);
            for (long item = line * section.perLine; item < end; ++item) {
                const CGRect frame = frameOfItem(section, item);
                if (!overlaps(frame, rect)) {
                    continue;
                }
                auto attributes =
                    UICollectionViewLayoutAttributes::layoutAttributesForCellWithIndexPath(
                        NSIndexPath::indexPathForItemInSection(item, long(s)));
                attributes->setFrame(frame);
                found.push_back(std::move(attributes));
            }
        }
    }
    return found;
}

std::shared_ptr<UICollectionViewLayoutAttributes>
UICollectionViewFlowLayout::layoutAttributesForItemAtIndexPath(const NSIndexPath& indexPath) const {
    if (indexPath.section() < 0 || size_t(indexPath.section()) >= sections_.size()) {
        return nullptr;
    }
    const Section& section = sections_[size_t(indexPath.section())];
    if (indexPath.item() < 0 || indexPath.item() >= section.items) {
        return nullptr;
    }
    auto attributes =
        UICollectionViewLayoutAttributes::layoutAttributesForCellWithIndexPath(indexPath);
    attributes->setFrame(frameOfItem(section, indexPath.item()));
    return attributes;
}
