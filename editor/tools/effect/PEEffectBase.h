// The base of every effect the effect tool lists, and the "None" effect itself (the
// picture unchanged). An effect is made when its item is selected: it lays its controls
// over the picture, tells its delegate when a setting changes, and turns its settings
// into one filter run.
//
// Settings live in controls on the main thread, but renders run in the background: the
// tool asks for `render` on the main thread, which takes the settings as they are then
// into a function of the picture alone, and runs that anywhere.
#pragma once

#include "editor/PEImageToolProtocol.h"
#include "platform/base/NSObject.h"
#include "platform/graphics/CGGeometry.h"

#include <functional>
#include <memory>
#include <string>

class PEEffectDelegate;
class PEImageToolInfo;
class UIImage;
class UIView;

class PEEffectBase : public NSObject {
    NS_OBJECT(PEEffectBase)
public:
    // What every effect class answers; subclasses override only the title and when they
    // are available.
    class ClassMethods : public NSObject, public PEImageToolProtocol {
    public:
        // "<editor bundle>/PEEffectTool/<class>.png"; none without the editor bundle.
        std::optional<std::string> defaultIconImagePath(const Class& self) const override;
        // The class's place in the effect order (None, spot, hue, highlight/shadow, bloom,
        // gloom, posterize, pixellate); a class outside it comes after all of them.
        double defaultDockedNumber(const Class& self) const override;
        // "PEEffectBase_DefaultTitle", "None" by default.
        std::string defaultTitle(const Class& self) const override;
        bool isAvailable(const Class& self) const override;
        std::optional<std::vector<std::shared_ptr<PEImageToolInfo>>>
        subtools(const Class& self) const override;
        std::optional<PlistValue::Dictionary> optionalInfo(const Class& self) const override;
    };

    // The picture an effect makes of a picture: any thread, nothing shared between calls.
    // Null when the render fails (logged).
    using Render = std::function<std::shared_ptr<UIImage>(const std::shared_ptr<UIImage>&)>;

    // Made by the class registry, then initialised.
    PEEffectBase() = default;
    // Keeps the entry; subclasses then build their controls in `superView` (the picture's
    // area), `imageViewFrame` being the picture's frame in it. Main thread.
    virtual void
    initWithSuperViewImageViewFrameToolInfo(const std::shared_ptr<UIView>& superView,
                                            const CGRect& imageViewFrame,
                                            const std::shared_ptr<PEImageToolInfo>& toolInfo);
    // Removes the controls; nothing here.
    virtual void cleanup() {}
    // The current settings as a render; here, the picture itself. Main thread.
    virtual Render render() const;
    // render() applied at once. Main thread.
    std::shared_ptr<UIImage> applyEffect(const std::shared_ptr<UIImage>& image) const;

    std::shared_ptr<PEEffectDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(std::weak_ptr<PEEffectDelegate> delegate) { delegate_ = std::move(delegate); }
    std::shared_ptr<PEImageToolInfo> toolInfo() const { return toolInfo_.lock(); }
    void setToolInfo(std::weak_ptr<PEImageToolInfo> toolInfo) { toolInfo_ = std::move(toolInfo); }

protected:
    // Tells the delegate that a setting changed.
    void parameterDidChange();

private:
    std::weak_ptr<PEEffectDelegate> delegate_;
    std::weak_ptr<PEImageToolInfo> toolInfo_;
};
