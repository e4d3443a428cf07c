#include "editor/PEImageToolBase.h"

#include "editor/PECoreImageRender.h"
#include "editor/PEImageEditorTheme.h"
#include "editor/PEImageToolHost.h"
#include "editor/PEImageToolInfo.h"
#include "platform/base/ClassRegistry.h"
#include "platform/dispatch/dispatch.h"
#include "platform/foundation/NSBundle.h"
#include "platform/foundation/NSError.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIImageView.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <string_view>

namespace {
// The editor's standard tools in menu order; tools outside it say where they go.
constexpr std::array<std::string_view, 7> kStandardOrder = {
    "PEFilterTool", "PEAdjustmentTool", "PEEffectTool",    "PEBlurTool",
    "PERotateTool", "PEClippingTool",   "PEToneCurveTool",
};
} // namespace

std::optional<std::string>
PEImageToolBase::ClassMethods::defaultIconImagePath(const Class& self) const {
    auto theme = PEImageEditorTheme::theme();
    auto bundle = theme->bundle();
    if (!bundle) {
        return std::nullopt;
    }
    return bundle->bundlePath() + "/" + self.name + "/" + theme->toolIconColor() + "/icon.png";
}

double PEImageToolBase::ClassMethods::defaultDockedNumber(const Class& self) const {
    auto found = std::find(kStandardOrder.begin(), kStandardOrder.end(), self.name);
    if (found == kStandardOrder.end()) {
        // Not found is the largest index there is: after every listed tool.
        return static_cast<double>(std::numeric_limits<int64_t>::max());
    }
    return static_cast<double>(found - kStandardOrder.begin());
}

std::string PEImageToolBase::ClassMethods::defaultTitle(const Class&) const {
    return "DefaultTitle";
}

bool PEImageToolBase::ClassMethods::isAvailable(const Class&) const {
    return false;
}

std::optional<std::vector<std::shared_ptr<PEImageToolInfo>>>
PEImageToolBase::ClassMethods::subtools(const Class&) const {
    return std::nullopt;
}

std::optional<PlistValue::Dictionary>
PEImageToolBase::ClassMethods::optionalInfo(const Class&) const {
    return std::nullopt;
}

void PEImageToolBase::initWithImageEditorWithToolInfo(
    const std::shared_ptr<PEImageToolHost>& editor,
    const std::shared_ptr<PEImageToolInfo>& toolInfo) {
    editor_ = editor;
    toolInfo_ = toolInfo;
}

void PEImageToolBase::executeWithCompletionBlock(Completion completion) {
    auto editor = this->editor();
    auto imageView = editor ? editor->imageView() : nullptr;
    completion(imageView ? imageView->image() : nullptr, nullptr, nullptr);
}

void PEImageToolBase::answerInBackground(std::function<std::shared_ptr<UIImage>()> build,
                                         Completion completion) const {
    dispatch_async(
        dispatch_get_global_queue(DISPATCH_QUEUE_PRIORITY_DEFAULT, 0),
        [build = std::move(build), name = className(),
         completion = std::move(completion)]() mutable {
            auto result = build();
            dispatch_async(dispatch_get_main_queue(), [result, name,
                                                       completion = std::move(completion)] {
                completion(result,
                           result
                               ? nullptr
                               : PECoreImageRender::failure(name, "The picture could not be made."),
                           nullptr);
            });
        });
}

std::shared_ptr<UIImage>
PEImageToolBase::imageForKeyDefaultImageName(const std::string& key,
                                             const std::string& defaultImageName) const {
    auto info = toolInfo();
    if (info && info->optionalInfo()) {
        const std::string* name = (*info->optionalInfo())[key].string();
        if (name && !name->empty()) {
            return UIImage::imageNamed(*name);
        }
    }
    return PEImageEditorTheme::imageNamedImage(className(), defaultImageName);
}
