// A photo library of 200 twelve-megapixel JPEG photos in a temporary home, made once per
// benchmark run and shared by the benchmarks that read photos.
#pragma once

#include <memory>
#include <vector>

class PHAsset;

class LargeAlbum {
public:
    static constexpr int kSize = 200;

    static LargeAlbum& shared();
    const std::vector<std::shared_ptr<PHAsset>>& assets() const { return assets_; }

private:
    LargeAlbum();
    std::vector<std::shared_ptr<PHAsset>> assets_;
};
