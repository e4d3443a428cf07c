#include "platform/quartzcore/QuartzCoreClasses.h"

#include "platform/base/ClassRegistry.h"
#include "platform/quartzcore/CAAnimation.h"
#include "platform/quartzcore/CABasicAnimation.h"
#include "platform/quartzcore/CAKeyframeAnimation.h"
#include "platform/quartzcore/CALayer.h"
#include "platform/quartzcore/CAShapeLayer.h"
#include "platform/quartzcore/CATransition.h"

void registerQuartzCoreClasses() {
    ClassRegistry& registry = ClassRegistry::shared();
    registry.add<CAAnimation, NSObject>();
    registry.add<CABasicAnimation, CAAnimation>();
    registry.add<CAKeyframeAnimation, CAAnimation>();
    registry.add<CALayer, NSObject>();
    registry.add<CAShapeLayer, CALayer>();
    registry.add<CATransition, CAAnimation>();
}
