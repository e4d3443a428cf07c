// The share sheet: offers items (a file URL, an image, a text) to a few share targets.
// Presented over the screen like an alert; drawn as a bottom sheet listing the items (a
// thumbnail for an image or an image file, the file's name), a row of targets ("Copy",
// "Save Image", "More…") and a "Cancel" button, all real buttons a finger can tap. The
// targets are labels only: choosing one dismisses the sheet and tells the completion
// handler which was chosen; the sharing itself is not carried out.
#pragma once

#include "platform/uikit/UIViewController.h"

#include <functional>
#include <memory>
#include <string>
#include <variant>
#include <vector>

class NSURL;
class UIImage;

using UIActivityItem = std::variant<std::shared_ptr<NSURL>, std::shared_ptr<UIImage>, std::string>;

// The activity types the sheet's targets report.
inline constexpr const char* UIActivityTypeCopyToPasteboard = "CopyToPasteboard";
inline constexpr const char* UIActivityTypeSaveToCameraRoll = "SaveToCameraRoll";
inline constexpr const char* UIActivityTypeMore = "More";

class UIActivityViewController : public UIViewController {
    NS_OBJECT(UIActivityViewController)
public:
    // After the sheet was dismissed: the chosen target's activity type and true, or an
    // empty type and false for Cancel.
    using CompletionWithItemsHandler =
        std::function<void(const std::string& activityType, bool completed)>;

    // The targets' labels, left to right, and the cancel button's.
    static const std::vector<std::string>& targetTitles();
    static constexpr const char* kCancelTitle = "Cancel";

    // Null, with a log line, when an item is a null URL or image, or a file URL whose file
    // does not exist (the sheet is never offered a file that was not written).
    // `applicationActivities` are the app's own targets; ours offers only the built-in ones,
    // so it must be empty (anything else is refused the same way).
    static std::shared_ptr<UIActivityViewController> initWithActivityItemsApplicationActivities(
        std::vector<UIActivityItem> items,
        const std::vector<std::shared_ptr<NSObject>>& applicationActivities);
    static std::shared_ptr<UIActivityViewController> alloc() {
        return initWithActivityItemsApplicationActivities({}, {});
    }

    const std::vector<UIActivityItem>& activityItems() const { return items_; }
    const CompletionWithItemsHandler& completionWithItemsHandler() const { return handler_; }
    void setCompletionWithItemsHandler(CompletionWithItemsHandler handler) {
        handler_ = std::move(handler);
    }

    // One line for the event log: the items, a file URL by its path, an image by its size,
    // a text as it is.
    std::string itemsDescription() const;

    void loadView() override;
    void viewDidAppear(bool animated) override;

protected:
    UIActivityViewController() = default;

    bool logsAsScreen() const override { return false; }

private:
    // Dismisses the sheet, then tells the handler; only the first choice counts.
    void choose(const std::string& activityType, bool completed);

    std::vector<UIActivityItem> items_;
    CompletionWithItemsHandler handler_;
    bool answered_ = false;
};
