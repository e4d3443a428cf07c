// What the collection and table views share about their cells: the cells shown, by index
// path; the cells put aside for reuse, by reuse identifier; and the cell under a finger,
// highlighted while the finger stays down, whose lifting over the same item is a tap.
#pragma once

#include "platform/foundation/NSIndexPath.h"
#include "platform/uikit/UIResponder.h"
#include "platform/uikit/UITouch.h"
#include "platform/uikit/UIView.h"

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

template <class Cell> class ReusableCellSet {
public:
    using Locate = std::function<std::optional<NSIndexPath>(const UITouch& touch)>;

    std::shared_ptr<Cell> cellAt(const NSIndexPath& indexPath) const {
        const auto found = shown_.find(indexPath);
        return found == shown_.end() ? nullptr : found->second;
    }
    const std::map<NSIndexPath, std::shared_ptr<Cell>>& shown() const { return shown_; }
    // Shows cells in `parent` for exactly the items of `frames`, each at its frame: those
    // shown already stay, the others are put aside, and `make` gives the new ones (null:
    // nothing is shown for that item).
    template <class Make>
    void tile(UIView& parent, const std::map<NSIndexPath, CGRect>& frames, const Make& make) {
        std::set<NSIndexPath> wanted;
        for (const auto& [indexPath, frame] : frames) {
            wanted.insert(indexPath);
        }
        retireAllBut(wanted);
        for (const auto& [indexPath, frame] : frames) {
            auto cell = cellAt(indexPath);
            if (!cell) {
                cell = make(indexPath);
                if (!cell) {
                    continue;
                }
                parent.insertSubviewAtIndex(cell, 0);
                shown_[indexPath] = cell;
            }
            cell->setFrame(frame);
        }
    }
    // Takes the shown cells of the other items out of the view and puts them aside.
    void retireAllBut(const std::set<NSIndexPath>& keep) {
        for (auto it = shown_.begin(); it != shown_.end();) {
            if (keep.contains(it->first)) {
                ++it;
                continue;
            }
            const auto cell = it->second;
            it = shown_.erase(it);
            cell->removeFromSuperview();
            // A cell made by hand (no identifier) cannot be asked for again.
            if (!cell->reuseIdentifier().empty()) {
                free_[cell->reuseIdentifier()].push_back(cell);
            }
        }
    }
    // A cell put aside under the identifier, prepared for reuse; null when none is free.
    std::shared_ptr<Cell> dequeue(const std::string& identifier) {
        auto& free = free_[identifier];
        if (free.empty()) {
            return nullptr;
        }
        auto cell = std::move(free.back());
        free.pop_back();
        cell->prepareForReuse();
        return cell;
    }

    // The first finger landing on an item highlights its cell.
    void touchesBegan(const UITouchSet& touches, const Locate& locate) {
        if (touch_.lock() || touches.empty()) {
            return;
        }
        const auto& touch = *touches.begin();
        touch_ = touch;
        touched_ = locate(*touch);
        setTouchedHighlighted(true);
    }
    // The item tapped: the one the finger landed on, if it lifted over it too.
    std::optional<NSIndexPath> touchesEnded(const UITouchSet& touches, const Locate& locate) {
        const auto touch = touch_.lock();
        if (!touch || !touches.contains(touch)) {
            return std::nullopt;
        }
        const auto touched = touched_;
        finishTouch();
        return touched && locate(*touch) == touched ? touched : std::nullopt;
    }
    void touchesCancelled(const UITouchSet& touches) {
        const auto touch = touch_.lock();
        if (touch && touches.contains(touch)) {
            finishTouch();
        }
    }

private:
    void setTouchedHighlighted(bool highlighted) {
        if (const auto cell = touched_ ? cellAt(*touched_) : nullptr) {
            cell->setHighlighted(highlighted);
        }
    }
    void finishTouch() {
        setTouchedHighlighted(false);
        touch_.reset();
        touched_.reset();
    }

    std::map<NSIndexPath, std::shared_ptr<Cell>> shown_;
    std::map<std::string, std::vector<std::shared_ptr<Cell>>> free_;
    std::weak_ptr<UITouch> touch_;
    std::optional<NSIndexPath> touched_;
};
