#include "editor/EditorClasses.h"

#include "app/output/AppOutputClasses.h"
#include "editor/PEImageEditor.h"
#include "editor/PEImageEditorTheme.h"
#include "editor/PEImageToolBase.h"
#include "editor/PEImageToolInfo.h"
#include "editor/PEToolbarMenuItem.h"
#include "editor/_PEImageEditorViewController.h"
#include "editor/tools/effect/PEBloomEffect.h"
#include "editor/tools/effect/PEEffectBase.h"
#include "editor/tools/effect/PEEffectTool.h"
#include "editor/tools/effect/PEGloomEffect.h"
#include "editor/tools/effect/PEHighlightShadowEffect.h"
#include "editor/tools/effect/PEHueEffect.h"
#include "editor/tools/effect/PEPixellateEffect.h"
#include "editor/tools/effect/PEPosterizeEffect.h"
#include "editor/tools/effect/PESliderEffect.h"
#include "editor/tools/effect/PESpotCircle.h"
#include "editor/tools/effect/PESpotEffect.h"
#include "editor/tools/adjustment/PEAdjustmentTool.h"
#include "editor/tools/blur/PEBlurBand.h"
#include "editor/tools/blur/PEBlurCircle.h"
#include "editor/tools/blur/PEBlurTool.h"
#include "editor/tools/clipping/PEClippingCircle.h"
#include "editor/tools/clipping/PEClippingPanel.h"
#include "editor/tools/clipping/PEClippingTool.h"
#include "editor/tools/clipping/PEGridLayar.h"
#include "editor/tools/clipping/PERatioMenuItem.h"
#include "editor/tools/resize/PEResizeTool.h"
#include "editor/tools/resize/_PEResizePanel.h"
#include "editor/tools/filter/PEDefaultEmptyFilter.h"
#include "editor/tools/filter/PEFilterBase.h"
#include "editor/tools/filter/PEFilterTool.h"
#include "editor/tools/rotate/PERotatePanel.h"
#include "editor/tools/rotate/PERotateTool.h"
#include "editor/tools/text/PETextLabel.h"
#include "editor/tools/text/PETextSettingView.h"
#include "editor/tools/text/PETextTool.h"
#include "editor/tools/tonecurve/PEControlPoint.h"
#include "editor/tools/tonecurve/PEToneCurveTool.h"
#include "editor/tools/tonecurve/PEToneCurveView.h"
#include "editor/widgets/PECircleView.h"
#include "editor/widgets/PEColorPickerView.h"
#include "editor/widgets/PEFontPickerView.h"
#include "editor/widgets/PEPickerDrum.h"
#include "editor/widgets/PEPickerView.h"
#include "editor/widgets/_PEHueCircleView.h"
#include "platform/base/ClassRegistry.h"
#include "platform/uikit/UIKitClasses.h"

void registerEditorClasses() {
    registerUIKitClasses();
    registerAppOutputClasses();
    ClassRegistry& registry = ClassRegistry::shared();
    registry.add<PEImageEditorTheme, NSObject>();
    registry.add<PEImageToolBase, NSObject>({}, std::make_shared<PEImageToolBase::ClassMethods>());
    registry.add<PEImageToolInfo, NSObject>();
    registry.add<PEToolbarMenuItem, UIView>();
    registry.add<PECircleView, UIView>();
    registry.add<PEPickerDrum, UIView>();
    registry.add<PEPickerView, UIView>();
    registry.add<PEFontPickerView, UIView>();
    registry.add<_PEHueCircleView, UIView>();
    registry.add<PEColorPickerView, UIView>();
    registry.add<PETextTool, PEImageToolBase>({}, std::make_shared<PETextTool::ClassMethods>());
    registry.add<PETextSettingView, UIView>();
    registry.add<PETextLabel, UILabel>();
    registry.add<PEImageEditor, UIViewController>();
    registry.add<_PEImageEditorViewController, PEImageEditor>(
        {}, std::make_shared<_PEImageEditorViewController::ClassMethods>());

    registry.add<PEFilterTool, PEImageToolBase>({}, std::make_shared<PEFilterTool::ClassMethods>());
    registry.add<PEFilterBase, NSObject>({}, std::make_shared<PEFilterBase::ClassMethods>());
    registry.add<PEDefaultEmptyFilter, PEFilterBase>(
        {}, std::make_shared<PEDefaultEmptyFilter::ClassMethods>());
    registry.add<PERotateTool, PEImageToolBase>({}, std::make_shared<PERotateTool::ClassMethods>());
    registry.add<PERotatePanel, UIView>();
    registry.add<PEToneCurveTool, PEImageToolBase>(
        {}, std::make_shared<PEToneCurveTool::ClassMethods>());
    registry.add<PEToneCurveView, UIView>();
    registry.add<PEControlPoint, UIView>();
    // The filters of the table's other rows differ only in name: each answers through the
    // class methods it inherits, for its own row. They are never made into objects.
    for (const std::string& name : PEDefaultEmptyFilter::subclassNames()) {
        registry.registerClass(Class{name, PEDefaultEmptyFilter::staticClassName(), {}, {}, {}});
    }

    registry.add<PEEffectTool, PEImageToolBase>({}, std::make_shared<PEEffectTool::ClassMethods>());
    registry.add<PEEffectBase, NSObject>({}, std::make_shared<PEEffectBase::ClassMethods>());
    registry.add<PESliderEffect, PEEffectBase>({},
                                               std::make_shared<PESliderEffect::ClassMethods>());
    registry.add<PESpotEffect, PEEffectBase>({}, std::make_shared<PESpotEffect::ClassMethods>());
    registry.add<PEHueEffect, PESliderEffect>({}, std::make_shared<PEHueEffect::ClassMethods>());
    registry.add<PEHighlightShadowEffect, PESliderEffect>(
        {}, std::make_shared<PEHighlightShadowEffect::ClassMethods>());
    registry.add<PEBloomEffect, PESliderEffect>({},
                                                std::make_shared<PEBloomEffect::ClassMethods>());
    registry.add<PEGloomEffect, PEBloomEffect>({}, std::make_shared<PEGloomEffect::ClassMethods>());
    registry.add<PEPosterizeEffect, PESliderEffect>(
        {}, std::make_shared<PEPosterizeEffect::ClassMethods>());
    registry.add<PEPixellateEffect, PESliderEffect>(
        {}, std::make_shared<PEPixellateEffect::ClassMethods>());
    registry.add<PESpotCircle, UIView>();
    registry.add<PEAdjustmentTool, PEImageToolBase>(
        {}, std::make_shared<PEAdjustmentTool::ClassMethods>());
    registry.add<PEBlurTool, PEImageToolBase>({}, std::make_shared<PEBlurTool::ClassMethods>());
    registry.add<PEBlurCircle, UIView>();
    registry.add<PEBlurBand, UIView>();
    registry.add<PEClippingTool, PEImageToolBase>({},
                                                  std::make_shared<PEClippingTool::ClassMethods>());
    registry.add<PEClippingPanel, UIView>();
    registry.add<PEClippingCircle, UIView>();
    registry.add<PERatioMenuItem, PEToolbarMenuItem>();
    registry.add<PEGridLayar, CALayer>();
    registry.add<PEResizeTool, PEImageToolBase>({}, std::make_shared<PEResizeTool::ClassMethods>());
    registry.add<_PEResizePanel, UIView>();
}
