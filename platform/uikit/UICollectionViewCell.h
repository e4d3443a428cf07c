// One item of a collection view: a content view holding the cell's own subviews, the
// selected and highlighted states, and the hook that clears a cell before it is reused.
#pragma once

#include "platform/uikit/UIView.h"

#include <string>

class UICollectionViewCell : public UIView {
    NS_OBJECT(UICollectionViewCell)
public:
    static std::shared_ptr<UICollectionViewCell> initWithFrame(const CGRect& frame);
    static std::shared_ptr<UICollectionViewCell> alloc() { return initWithFrame(CGRectZero); }

    // Fills the cell and follows its size; subclasses put their subviews here.
    std::shared_ptr<UIView> contentView() const { return contentView_; }
    bool isSelected() const { return selected_; }
    virtual void setSelected(bool selected) { selected_ = selected; }
    // True while a finger rests on the cell.
    bool isHighlighted() const { return highlighted_; }
    virtual void setHighlighted(bool highlighted) { highlighted_ = highlighted; }
    // The identifier it was made and dequeued under; empty for a cell made by hand.
    const std::string& reuseIdentifier() const { return reuseIdentifier_; }

    // Called before a cell put aside is handed out for another item. Subclasses clear
    // what the last item showed, calling this first; this clears the two states.
    virtual void prepareForReuse();

protected:
    UICollectionViewCell() = default;

    // A new cell (or subclass) of that frame with its content view.
    template <class Cell> static std::shared_ptr<Cell> makeWithFrame(const CGRect& frame) {
        auto cell = make<Cell>();
        cell->setFrame(frame);
        static_cast<UICollectionViewCell&>(*cell).addContentView();
        return cell;
    }

private:
    friend class UICollectionView;
    void addContentView();

    std::shared_ptr<UIView> contentView_;
    std::string reuseIdentifier_;
    bool selected_ = false;
    bool highlighted_ = false;
};
