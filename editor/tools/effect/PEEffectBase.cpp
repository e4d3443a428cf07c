#include "editor/tools/effect/PEEffectBase.h"

#include "editor/PEImageEditorTheme.h"
#include "editor/tools/effect/PEEffectDelegate.h"
#include "platform/base/ClassRegistry.h"
#include "platform/foundation/NSBundle.h"
#include "platform/uikit/UIImage.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <string_view>

namespace {
constexpr std::array<std::string_view, 8> kEffectOrder = {
    "PEEffectBase",  "PESpotEffect",  "PEHueEffect",       "PEHighlightShadowEffect",
    "PEBloomEffect", "PEGloomEffect", "PEPosterizeEffect", "PEPixellateEffect",
};
} // namespace

std::optional<std::string>
PEEffectBase::ClassMethods::defaultIconImagePath(const Class& self) const {
    auto bundle = PEImageEditorTheme::theme()->bundle();
    if (!bundle) {
        return std::nullopt;
    }
    return bundle->bundlePath() + "/PEEffectTool/" + self.name + ".png";
}

double PEEffectBase::ClassMethods::defaultDockedNumber(const Class& self) const {
    auto found = std::find(kEffectOrder.begin(), kEffectOrder.end(), self.name);
    if (found == kEffectOrder.end()) {
        // Not found is the largest index there is: after every listed effect.
        return static_cast<double>(std::numeric_limits<int64_t>::max());
    }
    return static_cast<double>(found - kEffectOrder.begin());
}

std::string PEEffectBase::ClassMethods::defaultTitle(const Class&) const {
    return PEImageEditorTheme::localizedStringWithDefault("PEEffectBase_DefaultTitle", "None");
}

bool PEEffectBase::ClassMethods::isAvailable(const Class&) const {
    return true;
}

std::optional<std::vector<std::shared_ptr<PEImageToolInfo>>>
PEEffectBase::ClassMethods::subtools(const Class&) const {
    return std::nullopt;
}

std::optional<PlistValue::Dictionary> PEEffectBase::ClassMethods::optionalInfo(const Class&) const {
    return std::nullopt;
}

void PEEffectBase::initWithSuperViewImageViewFrameToolInfo(
    const std::shared_ptr<UIView>&, const CGRect&,
    const std::shared_ptr<PEImageToolInfo>& toolInfo) {
    toolInfo_ = toolInfo;
}

PEEffectBase::Render PEEffectBase::render() const {
    return [](const std::shared_ptr<UIImage>& image) { return image; };
}

std::shared_ptr<UIImage> PEEffectBase::applyEffect(const std::shared_ptr<UIImage>& image) const {
    return render()(image);
}

void PEEffectBase::parameterDidChange() {
    if (auto delegate = this->delegate()) {
        delegate->effectParameterDidChange(*this);
    }
}
