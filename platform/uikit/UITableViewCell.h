// A row of a table view: a content view holding an image at the left and a one-line text
// label, an accessory drawn at the right edge, the selected and highlighted states (shown
// as a grey background unless the selection style is None), and a separator along the
// bottom when its table draws separators.
//
// Reuse: prepareForReuse clears the text, the image, the accessory and the two states, so
// that nothing a row showed reaches the next row its cell is dequeued for (more than the
// platform's own cell clears: what a reused row shows is only what its data source sets).
#pragma once

#include "platform/uikit/UIView.h"

#include <string>

class UIImageView;
class UILabel;

enum class UITableViewCellStyle { Default };
enum class UITableViewCellAccessoryType { None, DisclosureIndicator, Checkmark };
enum class UITableViewCellSelectionStyle { None, Blue, Gray, Default };

class UITableViewCell : public UIView {
    NS_OBJECT(UITableViewCell)
public:
    // The left margin of the text, the image and the separator.
    static constexpr CGFloat kMargin = 15;
    // The room an accessory takes at the right edge.
    static constexpr CGFloat kAccessoryWidth = 38;

    static std::shared_ptr<UITableViewCell>
    initWithStyleReuseIdentifier(UITableViewCellStyle style, std::string reuseIdentifier);
    static std::shared_ptr<UITableViewCell> alloc() {
        return initWithStyleReuseIdentifier(UITableViewCellStyle::Default, "");
    }

    const std::string& reuseIdentifier() const { return reuseIdentifier_; }
    // Covers the cell but for the accessory and the separator; subclasses put their views here.
    std::shared_ptr<UIView> contentView() const { return contentView_; }
    // The system font at 17 points, black.
    std::shared_ptr<UILabel> textLabel() const { return textLabel_; }
    std::shared_ptr<UIImageView> imageView() const { return imageView_; }

    UITableViewCellAccessoryType accessoryType() const { return accessoryType_; }
    void setAccessoryType(UITableViewCellAccessoryType type);
    UITableViewCellSelectionStyle selectionStyle() const { return selectionStyle_; }
    void setSelectionStyle(UITableViewCellSelectionStyle style);
    bool isSelected() const { return selected_; }
    virtual void setSelected(bool selected);
    // True while a finger rests on the row.
    bool isHighlighted() const { return highlighted_; }
    virtual void setHighlighted(bool highlighted);

    // Called before a cell put aside is handed out for another row; subclasses call this
    // first and clear what they added.
    virtual void prepareForReuse();

    // The text label's text, unless a label was set: how `tap "Title"` finds a row.
    std::string accessibilityLabel() const override;
    void layoutSubviews() override;
    // The selection background, the accessory and the separator.
    void drawRect(const CGRect& rect) override;

protected:
    UITableViewCell() = default;

    // A new cell (or subclass) 44 points high with its content view, label and image view.
    template <class Cell>
    static std::shared_ptr<Cell> makeWithStyleReuseIdentifier(UITableViewCellStyle style,
                                                              std::string reuseIdentifier) {
        auto cell = make<Cell>();
        static_cast<UITableViewCell&>(*cell).setUp(style, std::move(reuseIdentifier));
        return cell;
    }

private:
    friend class UITableView;
    void setUp(UITableViewCellStyle style, std::string reuseIdentifier);
    void setShowsSeparator(bool shows);
    CGFloat separatorHeight() const;

    std::string reuseIdentifier_;
    std::shared_ptr<UIView> contentView_;
    std::shared_ptr<UILabel> textLabel_;
    std::shared_ptr<UIImageView> imageView_;
    UITableViewCellAccessoryType accessoryType_ = UITableViewCellAccessoryType::None;
    UITableViewCellSelectionStyle selectionStyle_ = UITableViewCellSelectionStyle::Default;
    bool selected_ = false;
    bool highlighted_ = false;
    bool showsSeparator_ = false;
};
