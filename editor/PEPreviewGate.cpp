#include "editor/PEPreviewGate.h"

#include "editor/PECoreImageRender.h"
#include "platform/dispatch/dispatch.h"

void PEPreviewGate::preview(Render render, Show show) {
    if (!enter()) {
        return;
    }
    // Gates live as long as the program: the render may outlive its tool.
    dispatch_async(PECoreImageRender::backgroundQueue(),
                   [this, render = std::move(render), show = std::move(show)] {
                       auto picture = render();
                       dispatch_async(dispatch_get_main_queue(), [picture, show] {
                           if (picture) {
                               show(picture);
                           }
                       });
                       leave();
                   });
}
