#include "bench/LargeAlbum.h"

#include "bench/CameraJpeg.h"
#include "platform/foundation/NSData.h"
#include "platform/foundation/NSPathUtilities.h"
#include "platform/photos/PHAsset.h"
#include "platform/photos/PHPhotoLibrary.h"

#include <cstdlib>
#include <filesystem>
#include <future>
#include <string>

namespace fs = std::filesystem;

LargeAlbum& LargeAlbum::shared() {
    static LargeAlbum album;
    return album;
}

LargeAlbum::LargeAlbum() {
    std::string pattern = (fs::temp_directory_path() / "mixphotos-album-XXXXXX").string();
    home_ = ::mkdtemp(pattern.data()) ? pattern : std::string();
    const std::string& home = home_;
    std::string library = home + "/library/Large";
    fs::create_directories(library);
    const auto jpeg = cameraJpeg(4000, 3000, "2026:01:02 10:00:00");
    for (int i = 0; i < kSize; ++i) {
        NSData::writeToFileAtomically(jpeg, library + "/photo" + std::to_string(i) + ".jpg");
    }
    NSSetHomeDirectory(home);
    PHPhotoLibrary::configure(home + "/library", PHAccessAnswer::Granted);
    std::promise<void> answered;
    PHPhotoLibrary::requestAuthorization([&](PHAuthorizationStatus) { answered.set_value(); });
    answered.get_future().wait();
    for (const auto& asset : PHAsset::fetchAssetsWithOptions(nullptr)) {
        assets_.push_back(asset);
    }
}

LargeAlbum::~LargeAlbum() {
    if (!home_.empty()) {
        std::error_code ec;
        fs::remove_all(home_, ec);
    }
}
