// The base of every editor tool. The screen makes a tool from its menu entry's class name
// through the class registry, hands it the screen and the entry, then calls setup; OK calls
// executeWithCompletionBlock, and the tool's end (Back, or OK that succeeded) calls
// cleanup before the screen lets the tool go.
#pragma once

#include "editor/PEImageToolProtocol.h"
#include "platform/base/NSObject.h"

#include <functional>
#include <memory>
#include <string>

class NSError;
class PEImageToolHost;
class PEImageToolInfo;
class UIImage;

class PEImageToolBase : public NSObject {
    NS_OBJECT(PEImageToolBase)
public:
    // The class methods every tool class answers to. A tool class overrides what it
    // describes differently and registers its own; the base class itself is never listed.
    class ClassMethods : public NSObject, public PEImageToolProtocol {
    public:
        // "<bundle>/<class>/<icon colour>/icon.png"; none without the editor bundle.
        std::optional<std::string> defaultIconImagePath(const Class& self) const override;
        // The class's place in the editor's standard tool order; a class outside it comes
        // after all of them.
        double defaultDockedNumber(const Class& self) const override;
        std::string defaultTitle(const Class& self) const override;
        bool isAvailable(const Class& self) const override;
        std::optional<std::vector<std::shared_ptr<PEImageToolInfo>>>
        subtools(const Class& self) const override;
        std::optional<PlistValue::Dictionary> optionalInfo(const Class& self) const override;
    };

    // The picture (on success) or the error, and user information; called once, on the
    // main thread.
    using Completion =
        std::function<void(std::shared_ptr<UIImage> image, std::shared_ptr<NSError> error,
                           std::shared_ptr<NSObject> userInfo)>;

    // Made by the class registry (or directly) and then given the screen and its entry.
    PEImageToolBase() = default;
    // Both are held weakly: the screen owns the tool and the tree the entry lives in.
    void initWithImageEditorWithToolInfo(const std::shared_ptr<PEImageToolHost>& editor,
                                         const std::shared_ptr<PEImageToolInfo>& toolInfo);

    std::shared_ptr<PEImageToolHost> editor() const { return editor_.lock(); }
    std::shared_ptr<PEImageToolInfo> toolInfo() const { return toolInfo_.lock(); }

    // Builds the tool's interface in the screen's view; does nothing here.
    virtual void setup() {}
    // Removes what setup added and restores what it changed; does nothing here.
    virtual void cleanup() {}
    // Computes the final picture from the full-size one; here, the picture the screen's
    // image view shows, at once.
    virtual void executeWithCompletionBlock(Completion completion);

    // The application's image named by the entry's setting `key` when that is a non-empty
    // string; else the file `defaultImageName` from the tool's folder in the editor bundle.
    std::shared_ptr<UIImage> imageForKeyDefaultImageName(const std::string& key,
                                                         const std::string& defaultImageName) const;

protected:
    // Runs `build` on a global queue, then answers `completion` on the main queue with its
    // picture, or, when it gives none, with an error in the tool's domain (its class name).
    void answerInBackground(std::function<std::shared_ptr<UIImage>()> build,
                            Completion completion) const;

private:
    std::weak_ptr<PEImageToolHost> editor_;
    std::weak_ptr<PEImageToolInfo> toolInfo_;
};
