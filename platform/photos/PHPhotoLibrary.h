// The photo library as a whole: where its folder is, whether the app may see it (asked
// once, answered as configured, remembered in the home), and its scanned contents.
#pragma once

#include <functional>
#include <memory>
#include <string>

class NSError;
class PhotoLibraryContents;

// The library folder's errors, in PHPhotosErrorDomain.
enum : long { PHPhotosErrorLibraryFolderUnavailable = 3101 };

enum class PHAuthorizationStatus { NotDetermined = 0, Restricted = 1, Denied = 2, Authorized = 3 };

// How the question "may the app see your photos?" is answered, standing in for the person
// at the screen. Ask answers as a person would: it grants.
enum class PHAccessAnswer { Granted, Denied, Restricted, Ask };

class PHPhotoLibrary {
public:
    PHPhotoLibrary() = delete;

    // The file that remembers the answer, in the home (not among the app's defaults).
    static constexpr const char* kAccessFileName = "Library/PhotosAccess.plist";

    // The library's folder and how a request for access will be answered. Forgets the
    // scanned contents. The stored answer is left alone: only a request changes it.
    static void configure(const std::string& libraryFolder, PHAccessAnswer answer);
    // No library folder, the question asked, nothing scanned (between tests).
    static void resetForTesting();
    // Empty until configured: then the library is only the home's Album folder.
    static std::string libraryFolder();

    // As remembered in the current home.
    static PHAuthorizationStatus authorizationStatus();
    // The first request decides by the configured answer and remembers it; later ones
    // answer what was remembered. The handler runs on a global queue, as on the platform.
    // When the home cannot keep the answer, it holds for the rest of this run only.
    static void requestAuthorization(std::function<void(PHAuthorizationStatus)> handler);
    // False when the answer given could not be written to the home, so the question will
    // be asked again at the next launch (platform-internal: the app tells the user).
    static bool authorizationIsKept();

    // Why the configured library folder cannot be shown (it is missing, a file, or cannot
    // be read), in PHPhotosErrorDomain; null when it can, or when none is configured
    // (platform-internal: the picker says so on screen).
    static std::shared_ptr<NSError> libraryFolderError();

    // Scans the folders again at the next fetch (after a picture was saved into the Album
    // folder, say).
    static void reloadLibrary();
    // The contents as last scanned, listed now when there is no current scan; null while
    // the app is not authorized, so that fetches find nothing (platform-internal). A new
    // scan reads its headers through the cache in the home's caches folder; the headers of
    // albums not fetched yet are read on a global queue meanwhile.
    static std::shared_ptr<const PhotoLibraryContents> contents();
};
