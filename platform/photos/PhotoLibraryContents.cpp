#include "platform/photos/PhotoLibraryContents.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <tuple>

namespace fs = std::filesystem;

namespace {

struct Entry {
    std::string name;
    fs::path path;
    bool isFolder;
};

// Both paths canonical.
bool isInside(const fs::path& path, const fs::path& root) {
    return std::mismatch(root.begin(), root.end(), path.begin(), path.end()).first == root.end();
}

// The visible regular files and folders directly in `folder`, by name. A symbolic link
// is followed only to a target inside `boundary`: a library must not reach out into the
// rest of the disk.
std::vector<Entry> listFolder(const fs::path& folder, const fs::path& boundary) {
    std::vector<Entry> entries;
    std::error_code listing;
    for (fs::directory_iterator it(folder, listing), end; !listing && it != end;
         it.increment(listing)) {
        const std::string name = it->path().filename().string();
        std::error_code ec;
        if (name.empty() || name.front() == '.') {
            continue;
        }
        if (it->is_symlink(ec)) {
            const fs::path target = fs::canonical(it->path(), ec);
            if (ec || !isInside(target, boundary)) {
                continue;
            }
        }
        const fs::file_status status = fs::status(it->path(), ec);
        if (!ec && (fs::is_directory(status) || fs::is_regular_file(status))) {
            entries.push_back({name, it->path(), fs::is_directory(status)});
        }
    }
    std::sort(entries.begin(), entries.end(),
              [](const Entry& a, const Entry& b) { return a.name < b.name; });
    return entries;
}

std::string lowercase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// Albums are listed as people read titles: letters without regard to case.
bool titleBefore(const PhotoLibraryContents::Album& a, const PhotoLibraryContents::Album& b) {
    return std::tuple(lowercase(a.title), a.title, a.localIdentifier) <
           std::tuple(lowercase(b.title), b.title, b.localIdentifier);
}

fs::path canonicalFolder(const std::string& folder) {
    std::error_code ec;
    fs::path path = folder.empty() ? fs::path() : fs::canonical(folder, ec);
    return !ec && fs::is_directory(path, ec) ? path : fs::path();
}

} // namespace

std::shared_ptr<const PhotoLibraryContents>
PhotoLibraryContents::scan(const std::string& libraryFolder, const std::string& albumFolder) {
    auto contents = std::make_shared<PhotoLibraryContents>();
    // The file as an asset of the whole library and of `album` (when given).
    auto addAsset = [&](const Entry& file, const std::string& identifier, Album* album) {
        auto asset = PHAsset::assetWithFileLocalIdentifier(file.path.string(), identifier);
        if (!asset) {
            return;
        }
        if (album) {
            album->assets.push_back(asset);
        }
        contents->assets_.push_back(std::move(asset));
    };
    auto addFolder = [&](const fs::path& folder, const fs::path& boundary,
                         const std::string& prefix, Album& album) {
        for (const auto& entry : listFolder(folder, boundary)) {
            if (!entry.isFolder) {
                addAsset(entry, prefix + entry.name, &album);
            }
        }
    };

    const fs::path savedPhotos = canonicalFolder(albumFolder);
    if (const fs::path root = canonicalFolder(libraryFolder); !root.empty()) {
        for (const auto& entry : listFolder(root, root)) {
            std::error_code ec;
            if (!entry.isFolder) {
                addAsset(entry, entry.name, nullptr);
            } else if (fs::canonical(entry.path, ec) != savedPhotos) {
                // The home's Album folder inside the library shows once, under its own title.
                Album album{entry.name, entry.name, {}};
                addFolder(entry.path, root, entry.name + "/", album);
                contents->albums_.push_back(std::move(album));
            }
        }
    }
    if (!savedPhotos.empty()) {
        Album album{kSavedPhotosAlbumIdentifier, kSavedPhotosAlbumTitle, {}};
        addFolder(savedPhotos, savedPhotos, std::string(kSavedPhotosAlbumIdentifier) + "/", album);
        if (!album.assets.empty()) {
            contents->albums_.push_back(std::move(album));
        }
    }
    std::sort(contents->albums_.begin(), contents->albums_.end(), titleBefore);
    std::sort(contents->assets_.begin(), contents->assets_.end(), [](const auto& a, const auto& b) {
        return a->localIdentifier() < b->localIdentifier();
    });
    return contents;
}

const PhotoLibraryContents::Album*
PhotoLibraryContents::albumWithLocalIdentifier(const std::string& identifier) const {
    for (const auto& album : albums_) {
        if (album.localIdentifier == identifier) {
            return &album;
        }
    }
    return nullptr;
}
