// The program's command line: where the app's home and photo library are, the screen it
// runs on, the scenario it plays and the services (store, ad server) it talks to.
#pragma once

#include "platform/foundation/ErrorOr.h"
#include "platform/graphics/CGGeometry.h"
#include "platform/photos/PHPhotoLibrary.h"

#include <string>
#include <vector>

struct ProgramOptions {
    struct Screen {
        CGSize size;
        double scale = 2.0;
    };

    std::string home = "home";
    // Debian's photographs (package mate-backgrounds) unless another folder is given.
    std::string library = "/usr/share/backgrounds/mate";
    // How the photo-library permission request is answered: granted, denied, restricted or
    // ask (as a user would: grants).
    PHAccessAnswer photosAccess = PHAccessAnswer::Ask;
    Screen screen{{375, 667}, 2.0};
    std::string script; // empty: the bundled demo
    std::string shots = "shots";
    // The store's lookup service, scheme://host[:port]; empty: the app's default.
    std::string storeURL;
    // The ad server the ad engine talks to, scheme://host[:port]; empty: the app's default.
    std::string adServerURL;
    // Set by a relaunch, through the environment: the scenario line to go on from (1-based).
    int resumeAtLine = 1;
    static constexpr const char* kResumeVariable = "MIXPHOTOS_RESUME_AT_LINE";
    // The command line as given, for relaunching the program.
    std::vector<std::string> arguments;
    // What --help or --version asked to print instead of a run: the program prints it and
    // exits successfully. Empty for a run.
    std::string answer;

    // The command line of a relaunch that goes on from that scenario line: the same
    // arguments, the line in the environment (see kResumeVariable). Does not return unless
    // the program cannot be started again.
    void relaunch(int resumeAtLine) const;

    // The error of a malformed command line; its description says what is wrong.
    static constexpr const char* kErrorDomain = "ProgramOptionsErrorDomain";
    static constexpr long kErrorMalformedOption = 1;

    // Parses argv; `version` is what --version prints after the program's name.
    static ErrorOr<ProgramOptions> parse(int argc, char** argv, const std::string& version);
    // Parses "WxH@S" (the "@S" may be left out: scale 2): 1 to 10000 points a side, a scale
    // of 1 to 4, and no more pixels than a screenshot can be drawn in. The error says why not.
    static ErrorOr<Screen> parseScreen(const std::string& text);
    // Whether the text is an http or https URL of a host (and port) alone.
    static bool isServiceBaseURL(const std::string& text);
};
