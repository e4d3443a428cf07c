// What a filter class does besides describing itself to the filter tool's strip: it turns
// a picture into the filtered picture. A class method, given the receiving class, adopted
// by registering class methods of a type deriving from it (see PEImageToolProtocol.h).
#pragma once

#include <memory>

struct Class;
class UIImage;

class PEFilterBaseProtocol {
public:
    virtual ~PEFilterBaseProtocol() = default;

    // The filtered picture; null when the filter cannot be applied to it (logged). Any
    // thread: the tool filters its thumbnails and previews in the background.
    virtual std::shared_ptr<UIImage> applyFilter(const Class& self,
                                                 const std::shared_ptr<UIImage>& image) const = 0;
};
