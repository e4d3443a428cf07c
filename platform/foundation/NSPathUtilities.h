// The home folder (given on the command line, or ./home) and the standard folders in it.
#pragma once

#include <string>
#include <vector>

enum NSSearchPathDirectory { NSLibraryDirectory, NSDocumentDirectory, NSCachesDirectory };
enum NSSearchPathDomainMask { NSUserDomainMask = 1 };

// The absolute home folder; "./home" (created on first use) until one is set.
std::string NSHomeDirectory();
// Makes `path` absolute and the home, creating it with Library, Library/Preferences,
// Library/Caches, Documents and tmp.
void NSSetHomeDirectory(const std::string& path);
// Forgets the home set, so the next NSHomeDirectory() is "./home" again (between tests).
void NSHomeDirectoryResetForTesting();

// The user's folder of that kind, as "~/Library" when the tilde is not expanded.
std::vector<std::string> NSSearchPathForDirectoriesInDomains(NSSearchPathDirectory directory,
                                                             NSSearchPathDomainMask domains,
                                                             bool expandTilde);
// The home's tmp folder, with a trailing slash.
std::string NSTemporaryDirectory();

// `base` and `component` joined by one slash: "a/" + "/b" -> "a/b", "" + "b" -> "b".
std::string stringByAppendingPathComponent(const std::string& base, const std::string& component);
