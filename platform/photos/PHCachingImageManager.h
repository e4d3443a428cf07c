// The image manager the app shares; its results are made as they are asked for (nothing
// is prepared ahead), which is all the app needs of it.
#pragma once

#include "platform/photos/PHImageManager.h"

class PHCachingImageManager : public PHImageManager {
    NS_OBJECT(PHCachingImageManager)
protected:
    PHCachingImageManager() = default;
};
