// The editor's splash tool: the picture turns grey and one finger paints its colour back;
// the eraser, switched by tapping the swatch, paints the grey back. A grey copy lies over
// the picture, seen through a mask of what was painted (white where the colour shows). OK
// composes the picture and the masked grey copy at the picture's own size and scale.
//
// Kept sound where a plain reading would not be: OK before any painting gives what the
// screen shows, the whole picture grey (no mask counts as all grey, as it does for
// painting), not the colour picture.
#pragma once

#include "editor/tools/draw/PEStrokeTool.h"

class PESplashTool : public PEStrokeTool {
    NS_OBJECT(PESplashTool)
public:
    class ClassMethods : public PEStrokeTool::ClassMethods {
    public:
        // "PESplashTool_DefaultTitle", "Splash" by default.
        std::string defaultTitle(const Class& self) const override;
        bool isAvailable(const Class&) const override { return true; }
        double defaultDockedNumber(const Class&) const override { return 4.6; }
    };

    // Made by the class registry when the editor opens the tool.
    PESplashTool() = default;

    // Paints the segment into the mask: white (colour back) or, in eraser mode, black.
    void drawLineTo(CGPoint from, CGPoint to) override;

    // The picture with its grey copy over it, seen through the mask and stretched to the
    // picture's size and scale; all grey without a mask. Any thread.
    static std::shared_ptr<UIImage> buildImage(const std::shared_ptr<UIImage>& picture,
                                               const std::shared_ptr<UIImage>& mask, CGSize size);

    // The reveal mask (none until the first segment) and the reduced grey copy shown while
    // painting.
    std::shared_ptr<UIImage> maskImage() const { return maskImage_; }
    std::shared_ptr<UIImage> grayImage() const { return grayImage_; }

protected:
    // The layer shows the grey copy, fitted into twice its size so that masking it after
    // every segment stays cheap.
    void prepareDrawingView(const std::shared_ptr<UIImage>& picture) override;
    void setMenu() override;
    // The layer shows the grey copy through the new mask.
    void didPaintSegment() override;
    std::function<std::shared_ptr<UIImage>()>
    resultBuilder(const std::shared_ptr<UIImage>& picture) const override;

private:
    std::shared_ptr<UIImage> maskImage_;
    std::shared_ptr<UIImage> grayImage_;
};
