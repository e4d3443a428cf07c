// A photo library of 200 twelve-megapixel JPEG photos as a camera writes them (with an
// EXIF preview) in a temporary home, made once per
// benchmark run and shared by the benchmarks that read photos; the home is removed when
// the run ends.
#pragma once

#include <memory>
#include <string>
#include <vector>

class PHAsset;

class LargeAlbum {
public:
    static constexpr int kSize = 200;

    static LargeAlbum& shared();
    ~LargeAlbum();
    LargeAlbum(const LargeAlbum&) = delete;
    LargeAlbum& operator=(const LargeAlbum&) = delete;

    const std::vector<std::shared_ptr<PHAsset>>& assets() const { return assets_; }

private:
    LargeAlbum();
    std::string home_;
    std::vector<std::shared_ptr<PHAsset>> assets_;
};
