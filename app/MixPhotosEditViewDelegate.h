// What a template collage cell tells the screen that holds it.
#pragma once

class MixPhotosEditView;

class MixPhotosEditViewDelegate {
public:
    virtual ~MixPhotosEditViewDelegate() = default;
    // Every hit test of the cell, whether or not the point lies in its outline.
    virtual void tapWithEditView(const MixPhotosEditView& editView) = 0;
};
