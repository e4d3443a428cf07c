#include "platform/photos/PhotoLibraryContents.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <sys/stat.h>
#include <tuple>

namespace fs = std::filesystem;

namespace {

struct Entry {
    std::string name;
    fs::path path;
    bool isFolder;
    PhotoHeaderCache::FileStamp stamp;
};

// Both paths canonical.
bool isInside(const fs::path& path, const fs::path& root) {
    return std::mismatch(root.begin(), root.end(), path.begin(), path.end()).first == root.end();
}

// The visible regular files and folders directly in `folder`, by name, each with its stamp.
// A symbolic link is followed only to a target inside `boundary`: a library must not
// reach out into the rest of the disk.
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
        struct stat status;
        if (::stat(it->path().c_str(), &status) != 0 ||
            !(S_ISDIR(status.st_mode) || S_ISREG(status.st_mode))) {
            continue;
        }
        entries.push_back({name, it->path(), S_ISDIR(status.st_mode),
                           PhotoHeaderCache::FileStamp::ofStatus(status)});
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
PhotoLibraryContents::scan(const std::string& libraryFolder, const std::string& albumFolder,
                           std::shared_ptr<PhotoHeaderCache> headerCache) {
    auto contents = std::make_shared<PhotoLibraryContents>();
    contents->headerCache_ = std::move(headerCache);
    auto makeFolder = [](const std::string& albumIdentifier) {
        auto folder = std::make_unique<Folder>();
        folder->albumIdentifier = albumIdentifier;
        return folder;
    };
    // The files of `entries`, with identifiers under `prefix`.
    auto addFiles = [](Folder& folder, const std::vector<Entry>& entries,
                       const std::string& prefix) {
        for (const auto& entry : entries) {
            if (!entry.isFolder) {
                folder.files.push_back({entry.path.string(), prefix + entry.name, entry.stamp});
            }
        }
    };

    std::vector<std::unique_ptr<Folder>> albumFolders;
    auto looseFiles = makeFolder("");
    const fs::path savedPhotos = canonicalFolder(albumFolder);
    if (const fs::path root = canonicalFolder(libraryFolder); !root.empty()) {
        const auto entries = listFolder(root, root);
        addFiles(*looseFiles, entries, "");
        for (const auto& entry : entries) {
            std::error_code ec;
            if (entry.isFolder && fs::canonical(entry.path, ec) != savedPhotos) {
                // The home's Album folder inside the library shows once, under its own title.
                contents->albums_.push_back({entry.name, entry.name});
                albumFolders.push_back(makeFolder(entry.name));
                addFiles(*albumFolders.back(), listFolder(entry.path, root), entry.name + "/");
            }
        }
    }
    if (!savedPhotos.empty()) {
        // The app's own saved pictures: few, and their album shows only when it holds a
        // photo, so read now.
        auto saved = makeFolder(kSavedPhotosAlbumIdentifier);
        addFiles(*saved, listFolder(savedPhotos, savedPhotos),
                 std::string(kSavedPhotosAlbumIdentifier) + "/");
        if (!contents->assetsOf(*saved).empty()) {
            contents->albums_.push_back({kSavedPhotosAlbumIdentifier, kSavedPhotosAlbumTitle});
            albumFolders.push_back(std::move(saved));
        }
    }
    // Albums by title, their folders in the same order.
    std::vector<size_t> order(contents->albums_.size());
    for (size_t i = 0; i < order.size(); ++i) {
        order[i] = i;
    }
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        return titleBefore(contents->albums_[a], contents->albums_[b]);
    });
    std::vector<Album> albums;
    for (size_t i : order) {
        albums.push_back(std::move(contents->albums_[i]));
        contents->folders_.push_back(std::move(albumFolders[i]));
    }
    contents->albums_ = std::move(albums);
    contents->folders_.push_back(std::move(looseFiles));
    return contents;
}

const PhotoLibraryContents::Assets& PhotoLibraryContents::assetsOf(const Folder& folder) const {
    std::call_once(folder.read, [&] {
        for (const auto& file : folder.files) {
            const auto header = headerCache_->headerForFile(file.path, file.stamp);
            if (header) {
                folder.assets.push_back(PHAsset::assetWithFileHeader(
                    file.path, file.localIdentifier, *header, file.stamp.modificationDate()));
            }
        }
    });
    return folder.assets;
}

const PhotoLibraryContents::Assets& PhotoLibraryContents::assets() const {
    std::call_once(allRead_, [&] {
        for (const auto& folder : folders_) {
            const auto& assets = assetsOf(*folder);
            assets_.insert(assets_.end(), assets.begin(), assets.end());
        }
        std::sort(assets_.begin(), assets_.end(), [](const auto& a, const auto& b) {
            return a->localIdentifier() < b->localIdentifier();
        });
    });
    return assets_;
}

const PhotoLibraryContents::Assets*
PhotoLibraryContents::assetsOfAlbum(const std::string& localIdentifier) const {
    for (const auto& folder : folders_) {
        if (!folder->albumIdentifier.empty() && folder->albumIdentifier == localIdentifier) {
            return &assetsOf(*folder);
        }
    }
    return nullptr;
}

void PhotoLibraryContents::readAllHeadersAndSaveCache() const {
    assets();
    headerCache_->save();
}
