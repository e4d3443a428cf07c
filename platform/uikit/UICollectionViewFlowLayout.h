// The grid layout: items of one size placed in lines across the scroll direction, a line
// taking as many items as fit, sections one after another with their insets.
//
// Vertically scrolling, lines run left to right and follow each other down; horizontally
// scrolling, they are columns filled top to bottom, following each other to the right.
// A full line spreads its spare room evenly between its items (its first and last items
// touch the section's insets); a line that is not full (the last one of a section) keeps
// the minimum spacing from its start; a line of one item centres it. The room across is
// the collection view's size less its content insets and the section insets.
#pragma once

#include "platform/uikit/UICollectionViewLayout.h"
#include "platform/uikit/UIEdgeInsets.h"

enum class UICollectionViewScrollDirection { Vertical, Horizontal };

class UICollectionViewFlowLayout : public UICollectionViewLayout {
    NS_OBJECT(UICollectionViewFlowLayout)
public:
    UICollectionViewFlowLayout() = default;

    // Setting any of these invalidates the layout. The defaults are the platform's.
    CGSize itemSize() const { return itemSize_; }
    void setItemSize(const CGSize& size);
    // Between items of a line, at least.
    CGFloat minimumInteritemSpacing() const { return minimumInteritemSpacing_; }
    void setMinimumInteritemSpacing(CGFloat spacing);
    // Between lines.
    CGFloat minimumLineSpacing() const { return minimumLineSpacing_; }
    void setMinimumLineSpacing(CGFloat spacing);
    UIEdgeInsets sectionInset() const { return sectionInset_; }
    void setSectionInset(const UIEdgeInsets& insets);
    UICollectionViewScrollDirection scrollDirection() const { return scrollDirection_; }
    void setScrollDirection(UICollectionViewScrollDirection direction);

    void prepareLayout() override;
    CGSize collectionViewContentSize() const override { return contentSize_; }
    std::vector<std::shared_ptr<UICollectionViewLayoutAttributes>>
    layoutAttributesForElementsInRect(const CGRect& rect) const override;
    std::shared_ptr<UICollectionViewLayoutAttributes>
    layoutAttributesForItemAtIndexPath(const NSIndexPath& indexPath) const override;

private:
    // A section worked out along the scroll direction ("along") and across it.
    struct Section {
        long items = 0;
        long perLine = 1;
        long lines = 0;
        // Where its first line starts along, and where the section ends.
        CGFloat start = 0;
        CGFloat end = 0;
        // The room across for its items, and the spacing of full lines.
        CGFloat room = 0;
        CGFloat fullLineSpacing = 0;
    };

    CGRect frameOfItem(const Section& section, long item) const;
    // Lengths of an item along and across, and a rectangle from them.
    CGFloat itemAlong() const;
    CGFloat itemAcross() const;
    CGRect rectAlongAcross(CGFloat along, CGFloat across) const;

    CGSize itemSize_ = CGSizeMake(50, 50);
    CGFloat minimumInteritemSpacing_ = 10;
    CGFloat minimumLineSpacing_ = 10;
    UIEdgeInsets sectionInset_{};
    UICollectionViewScrollDirection scrollDirection_ = UICollectionViewScrollDirection::Vertical;

    std::vector<Section> sections_;
    CGSize contentSize_{};
};
