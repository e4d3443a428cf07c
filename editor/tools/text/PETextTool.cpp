#include "editor/tools/text/PETextTool.h"

#include "app/categories/UIDevice+SystemVersion.h"
#include "app/categories/UIView+UIViewx.h"
#include "editor/PEImageEditorTheme.h"
#include "editor/PEImageToolHost.h"
#include "editor/PEToolPanel.h"
#include "editor/PEToolbarMenuItem.h"
#include "editor/categories/UIImage+Utility.h"
#include "editor/tools/text/PETextSettingView.h"
#include "editor/tools/text/_PETextView.h"
#include "platform/dispatch/dispatch.h"
#include "platform/foundation/NSNotificationCenter.h"
#include "platform/quartzcore/CALayer.h"
#include "platform/text/UIFont.h"
#include "platform/uikit/UIButton.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UIScrollView.h"
#include "platform/uikit/WeakAction.h"

#include <algorithm>

namespace {
struct MenuEntry {
    const char* titleKey;
    const char* defaultTitle;
    const char* iconKey; // none: no icon
    const char* iconFile;
};
constexpr MenuEntry kMenu[] = {
    {"PETextTool_MenuItemNew", "New", "newTextIconAssetsName", "btn_add.png"},
    {"PETextTool_MenuItemText", "Text", "editTextIconAssetsName", "icon.png"},
    {"PETextTool_MenuItemColor", "Color", nullptr, nullptr},
    {"PETextTool_MenuItemFont", "Font", "fontIconAssetsName", "btn_font.png"},
    {"PETextTool_MenuItemAlignLeft", " ", "alignLeftIconAssetsName", "btn_align_left.png"},
    {"PETextTool_MenuItemAlignCenter", " ", "alignCenterIconAssetsName", "btn_align_center.png"},
    {"PETextTool_MenuItemAlignRight", " ", "alignRightIconAssetsName", "btn_align_right.png"},
};
constexpr double kDockedNumber = 8;
constexpr double kCloseSide = 32;
// A swatch's border for an outline width.
double swatchBorder(double width) {
    return std::max(2.0, width * 10);
}
} // namespace

std::string PETextTool::ClassMethods::defaultTitle(const Class&) const {
    return PEImageEditorTheme::localizedStringWithDefault("PETextTool_DefaultTitle", "Text");
}

bool PETextTool::ClassMethods::isAvailable(const Class&) const {
    return SystemVersion::iosVersion() >= 5.0;
}

double PETextTool::ClassMethods::defaultDockedNumber(const Class&) const {
    return kDockedNumber;
}

std::optional<PlistValue::Dictionary> PETextTool::ClassMethods::optionalInfo(const Class&) const {
    return PlistValue::Dictionary{
        {"deleteIconAssetsName", ""},      {"closeIconAssetsName", ""},
        {"newTextIconAssetsName", ""},     {"editTextIconAssetsName", ""},
        {"fontIconAssetsName", ""},        {"alignLeftIconAssetsName", ""},
        {"alignCenterIconAssetsName", ""}, {"alignRightIconAssetsName", ""}};
}

// Set-up and end

void PETextTool::setup() {
    const auto editor = this->editor();
    if (!editor) {
        return;
    }
    const auto imageView = editor->imageView();
    originalImage_ = imageView->image();
    editor->fixZoomScaleWithAnimated(true);

    const auto self = this->self<PETextTool>();
    auto center = NSNotificationCenter::defaultCenter();
    center->addObserverSelectorNameObject(
        self,
        [this](const NSNotification& n) {
            setSelectedTextView(std::dynamic_pointer_cast<_PETextView>(n.object()));
        },
        PETextViewActiveViewDidChangeNotificationString, nullptr);
    center->addObserverSelectorNameObject(
        self, [this](const NSNotification&) { beginTextEditting(); },
        PETextViewActiveViewDidTapNotificationString, nullptr);

    const auto view = editor->view();
    menuScroll_ = PEToolPanel::menuStrip(*editor);

    workingView_ = UIView::initWithFrame(
        view->convertRectFromView(imageView->frame(), imageView->superview().get()));
    workingView_->setClipsToBounds(true);
    view->addSubview(workingView_);

    const auto theme = PEImageEditorTheme::theme();
    settingView_ =
        PETextSettingView::initWithFrame(CGRectMake(0, 0, view->bounds().size.width, kPanelHeight));
    if (menuScroll_) {
        UIViewx::setBottom(*settingView_, UIViewx::top(*menuScroll_));
    }
    settingView_->setBackgroundColor(theme->toolbarColor());
    settingView_->setTextColor(theme->toolbarTextColor());
    settingView_->setFontPickerForegroundColor(settingView_->backgroundColor());
    settingView_->setDelegate(self);
    view->addSubview(settingView_);

    auto close = UIButton::buttonWithType(UIButtonType::Custom);
    close->setImageForState(imageForKeyDefaultImageName("closeIconAssetsName", "btn_delete.png"),
                            UIControlStateNormal);
    close->setFrame(
        CGRectMake(settingView_->bounds().size.width - kCloseSide, 0, kCloseSide, kCloseSide));
    close->setAccessibilityLabel("Close");
    close->addTargetActionForControlEvents(self, &PETextTool::pushedButton,
                                           UIControlEventTouchUpInside);
    settingView_->addSubview(close);

    if (menuScroll_) {
        setMenu();
    }
    setSelectedTextView(nullptr);
    if (menuScroll_) {
        PEToolPanel::slideIn(*editor, menuScroll_);
    }
}

void PETextTool::cleanup() {
    const auto editor = this->editor();
    if (editor) {
        editor->resetZoomScaleWithAnimated(true);
    }
    NSNotificationCenter::defaultCenter()->removeObserver(self<PETextTool>());
    if (settingView_) {
        settingView_->endEditing(true);
        settingView_->removeFromSuperview();
    }
    if (workingView_) {
        workingView_->removeFromSuperview();
    }
    if (editor && menuScroll_) {
        PEToolPanel::slideOutAndRemove(*editor, menuScroll_);
    }
}

// The menu

void PETextTool::setMenu() {
    const CGRect frame =
        CGRectMake(0, 0, PEToolPanel::kItemWidth, menuScroll_->frame().size.height);
    items_.clear();
    for (size_t tag = 0; tag < std::size(kMenu); ++tag) {
        const MenuEntry& entry = kMenu[tag];
        auto item = PEImageEditorTheme::menuItemWithFrameTargetActionToolInfo(
            frame, weakSelf<PETextTool>(),
            weakAction(self<PETextTool>(), &PETextTool::tappedMenuPanel), nullptr);
        item->setTag(long(tag));
        item->setTitle(
            PEImageEditorTheme::localizedStringWithDefault(entry.titleKey, entry.defaultTitle));
        if (entry.iconKey) {
            item->setIconImage(imageForKeyDefaultImageName(entry.iconKey, entry.iconFile));
        }
        items_.push_back(item);
    }
    // The colour item's icon is a swatch of the selected overlay's colours.
    colorIcon()->layer()->setBorderWidth(2);
    colorIcon()->layer()->setBorderColor(UIColor::blackColor()->cgColor());
    PEToolPanel::layOutItems(*menuScroll_, items_);
}

std::shared_ptr<UIView> PETextTool::colorIcon() const {
    return items_.empty() ? nullptr : items_[ColorItem]->iconView();
}

void PETextTool::tappedMenuPanel(UIGestureRecognizer& recognizer) {
    const auto item = recognizer.view();
    if (!item) {
        return;
    }
    switch (item->tag()) {
    case NewItem:
        addNewText();
        break;
    case TextItem:
    case ColorItem:
    case FontItem:
        showSettingViewWithMenuIndex(item->tag() - TextItem);
        break;
    case AlignLeftItem:
        setTextAlignment(NSTextAlignment::Left);
        break;
    case AlignCenterItem:
        setTextAlignment(NSTextAlignment::Center);
        break;
    case AlignRightItem:
        setTextAlignment(NSTextAlignment::Right);
        break;
    default:
        break;
    }
    PEToolPanel::flash(item);
}

void PETextTool::setMenuBtnEnabled(bool enabled) {
    for (const auto& item : items_) {
        if (item->tag() != NewItem) {
            item->setUserInteractionEnabled(enabled);
        }
    }
}

void PETextTool::setTextAlignment(NSTextAlignment alignment) {
    if (selectedTextView_) {
        selectedTextView_->setTextAlignment(alignment);
    }
    if (items_.empty()) {
        return;
    }
    for (long tag : {AlignLeftItem, AlignCenterItem, AlignRightItem}) {
        items_[size_t(tag)]->setSelected(false);
    }
    switch (alignment) {
    case NSTextAlignment::Left:
        items_[AlignLeftItem]->setSelected(true);
        break;
    case NSTextAlignment::Center:
        items_[AlignCenterItem]->setSelected(true);
        break;
    case NSTextAlignment::Right:
        items_[AlignRightItem]->setSelected(true);
        break;
    default:
        break;
    }
}

// The panel

void PETextTool::showSettingViewWithMenuIndex(long index) {
    if (settingView_->isHidden()) {
        settingView_->setHidden(false);
        settingView_->showSettingMenuWithIndexAnimated(index, false);
    } else {
        settingView_->showSettingMenuWithIndexAnimated(index, true);
    }
}

void PETextTool::hideSettingView() {
    settingView_->endEditing(true);
    settingView_->setHidden(true);
}

void PETextTool::beginTextEditting() {
    showSettingViewWithMenuIndex(PETextSettingView::TextPage);
    settingView_->becomeFirstResponder();
}

void PETextTool::pushedButton() {
    // The keyboard goes first; the panel with the next tap.
    if (settingView_->isFirstResponder()) {
        settingView_->resignFirstResponder();
    } else {
        hideSettingView();
    }
}

// Overlays

void PETextTool::addNewText() {
    const auto overlay = _PETextView::initWithTool(*this);
    overlay->setFillColor(settingView_->selectedFillColor());
    overlay->setBorderColor(settingView_->selectedBorderColor());
    overlay->setBorderWidth(settingView_->selectedBorderWidth());
    overlay->setFont(settingView_->selectedFont());
    const CGSize area = workingView_->bounds().size;
    const CGSize size = overlay->frame().size;
    overlay->setScale(std::min(area.width * 0.8 / size.width, area.height * 0.2 / size.height));
    overlay->setCenter(CGPointMake(area.width * 0.5, overlay->frame().size.height * 0.5 + 10));
    workingView_->addSubview(overlay);
    _PETextView::setActiveTextView(overlay);
    beginTextEditting();
}

void PETextTool::setSelectedTextView(const std::shared_ptr<_PETextView>& view) {
    selectedTextView_ = view;
    setMenuBtnEnabled(view != nullptr);
    const auto icon = colorIcon();
    if (view) {
        if (icon) {
            icon->setBackgroundColor(view->fillColor());
            icon->layer()->setBorderColor(view->borderColor() ? view->borderColor()->cgColor()
                                                              : CGColorMake(0, 0, 0, 1));
            icon->layer()->setBorderWidth(swatchBorder(view->borderWidth()));
        }
        settingView_->setSelectedText(view->text());
        settingView_->setSelectedFillColor(view->fillColor());
        settingView_->setSelectedBorderColor(view->borderColor());
        settingView_->setSelectedBorderWidth(view->borderWidth());
        settingView_->setSelectedFont(view->font());
        setTextAlignment(view->textAlignment());
        return;
    }
    hideSettingView();
    if (icon) {
        icon->setBackgroundColor(settingView_->selectedFillColor());
    }
    for (const auto& item : items_) {
        if (item->tag() >= AlignLeftItem) {
            item->setSelected(false);
        }
    }
}

void PETextTool::fitSelectedText() {
    const CGSize area = workingView_->bounds().size;
    selectedTextView_->sizeToFitWithMaxWidthLineHeight(area.width * 0.8, area.height * 0.2);
}

void PETextTool::textSettingViewDidChangeText(PETextSettingView&, const std::string& text) {
    if (selectedTextView_) {
        selectedTextView_->setText(text);
        fitSelectedText();
    }
}

void PETextTool::textSettingViewDidChangeFillColor(PETextSettingView&,
                                                   const std::shared_ptr<UIColor>& color) {
    if (const auto icon = colorIcon()) {
        icon->setBackgroundColor(color);
    }
    if (selectedTextView_) {
        selectedTextView_->setFillColor(color);
    }
}

void PETextTool::textSettingViewDidChangeBorderColor(PETextSettingView&,
                                                     const std::shared_ptr<UIColor>& color) {
    if (const auto icon = colorIcon(); icon && color) {
        icon->layer()->setBorderColor(color->cgColor());
    }
    if (selectedTextView_) {
        selectedTextView_->setBorderColor(color);
    }
}

void PETextTool::textSettingViewDidChangeBorderWidth(PETextSettingView&, double width) {
    if (const auto icon = colorIcon()) {
        icon->layer()->setBorderWidth(swatchBorder(width));
    }
    if (selectedTextView_) {
        selectedTextView_->setBorderWidth(width);
    }
}

void PETextTool::textSettingViewDidChangeFont(PETextSettingView&,
                                              const std::shared_ptr<UIFont>& font) {
    if (selectedTextView_) {
        selectedTextView_->setFont(font);
        fitSelectedText();
    }
}

// Baking

void PETextTool::executeWithCompletionBlock(Completion completion) {
    _PETextView::setActiveTextView(nullptr);
    // The views are drawn here, on the main thread; the picture is put together in the
    // background.
    auto overlays = workingView_ ? Utility::renderedOver(*workingView_, originalImage_) : nullptr;
    dispatch_async(
        dispatch_get_global_queue(DISPATCH_QUEUE_PRIORITY_DEFAULT, 0),
        [image = originalImage_, overlays = std::move(overlays),
         completion = std::move(completion)]() mutable {
            auto result = Utility::overlaid(image, overlays, image ? image->size() : CGSizeZero);
            dispatch_async(dispatch_get_main_queue(),
                           [result = std::move(result), image, completion = std::move(completion)] {
                               // A picture that cannot be drawn leaves it as it was.
                               completion(result ? result : image, nullptr, nullptr);
                           });
        });
}
