// Base of everything that takes part in the responder chain (views, controllers, the
// application).
#pragma once

#include "platform/foundation/NSObject.h"

class UIResponder : public NSObject {
    NS_OBJECT(UIResponder)
public:
    // The next object up the chain: a view's controller or superview, a controller's
    // view's superview, ...; null at the end.
    virtual std::shared_ptr<UIResponder> nextResponder() const { return nullptr; }
};
