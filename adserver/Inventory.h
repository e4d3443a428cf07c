// The server's ad inventory, read once from a folder: its manifest ("manifest.json") names
// the creatives by size, the ad units and their behaviours, and the sister apps the
// creatives advertise; the files it names are read with it, so a missing one stops the
// server at its start, never in the middle of an answer.
#pragma once

#include "adserver/AdUnit.h"
#include "platform/foundation/ErrorOr.h"

#include <nlohmann/json.hpp>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

class Inventory {
public:
    // A request's query, decoded: names to values, a name possibly repeated.
    using Parameters = std::multimap<std::string, std::string>;

    // An app a creative advertises; its landing page is "/landing/<slug>".
    struct App {
        std::string slug;
        std::string name;
        std::string tagline;
    };

    static constexpr const char* kManifestName = "manifest.json";
    // The unit that answers a request naming no unit of the manifest.
    static constexpr const char* kDefaultUnit = "default";
    static constexpr const char* kInterstitial = "interstitial";

    static ErrorOr<Inventory> load(const std::filesystem::path& folder);

    const AdUnit& unitFor(const std::string& slotname) const;
    // The creative's size key ("320x50", "728x90" or "interstitial") for a request's size
    // keys: "format" for interstitials and fluid banners, else the first of the "sz" list
    // the inventory has, else for a smart banner the widest banner its "ad_frame" holds,
    // else the smallest banner.
    std::string sizeFor(const Parameters& parameters) const;
    const std::string& creative(const std::string& size) const { return creatives_.at(size); }
    // The body a unit names (read at load).
    const std::string& file(const std::string& name) const { return files_.at(name); }
    // What the core page answers for each unit, by unit name.
    nlohmann::json pageAnswers() const;
    const std::vector<App>& apps() const { return apps_; }
    // The app with that slug, or null.
    const App* app(const std::string& slug) const;

private:
    Inventory() = default;

    // Banner sizes by width, so that the smart-banner choice can walk them in order.
    std::map<int, std::string> bannersByWidth_;
    std::map<std::string, std::string> creatives_;
    std::map<std::string, std::string> files_;
    std::map<std::string, AdUnit> units_;
    std::vector<App> apps_;
};
