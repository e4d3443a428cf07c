// The pasteboard other applications paste from. The general pasteboard holds one image or
// one string; its image is also kept in the home as "Pasteboard.png", so that a later launch
// on the same home still has it. Safe to use from any thread.
#pragma once

#include "platform/base/NSObject.h"

#include <memory>
#include <mutex>
#include <optional>
#include <string>

class UIImage;

class UIPasteboard : public NSObject {
    NS_OBJECT(UIPasteboard)
public:
    // The file in the home that keeps the general pasteboard's image.
    static constexpr const char* kImageFileName = "Pasteboard.png";

    // The general pasteboard of the current home: made the first time it is asked for in
    // that home, with the image its file holds (none when the file is missing or unreadable).
    static std::shared_ptr<UIPasteboard> generalPasteboard();
    // Forgets the general pasteboard; the next one is read from its file again (between
    // tests).
    static void resetForTesting();

    std::shared_ptr<UIImage> image() const;
    // Replaces the contents with `image` and writes it to the file, atomically (a null
    // image empties the pasteboard and removes the file). False, with a log line, when the
    // file could not be written; the pasteboard still holds the image for this run.
    bool setImage(const std::shared_ptr<UIImage>& image);
    std::optional<std::string> string() const;
    // Replaces the contents with `text`; the image's file goes with the image.
    void setString(const std::string& text);

private:
    explicit UIPasteboard(std::string imagePath) : imagePath_(std::move(imagePath)) {}
    // Removes the image's file; the caller holds the mutex.
    void removeImageFile();

    const std::string imagePath_;
    mutable std::mutex mutex_;
    std::shared_ptr<UIImage> image_;
    std::optional<std::string> string_;
};
