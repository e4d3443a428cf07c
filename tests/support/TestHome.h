// A fresh, empty home folder for one test (removed afterwards), with the built app bundle
// as the main bundle and the shared user defaults reloaded from it.
#pragma once

#include <string>

class TestHome {
public:
    TestHome();
    ~TestHome();
    TestHome(const TestHome&) = delete;
    TestHome& operator=(const TestHome&) = delete;

    const std::string& path() const { return path_; }
    // As a second launch of the app would find it: defaults are read again from disk.
    void relaunchDefaults();

private:
    std::string path_;
};
