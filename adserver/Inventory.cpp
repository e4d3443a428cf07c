#include "adserver/Inventory.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <limits>
#include <sstream>

namespace {
constexpr const char* kErrorDomain = "AdServerErrorDomain";

std::shared_ptr<NSError> refused(const std::string& why) {
    return makeError(kErrorDomain, 1, why);
}

ErrorOr<std::string> readFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return refused("cannot read " + path.string());
    }
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// "320x50" -> 320; 0 for anything else.
int bannerWidth(const std::string& size) {
    int width = 0, height = 0;
    const auto x = size.find('x');
    if (x == std::string::npos) {
        return 0;
    }
    const char* end = size.data() + size.size();
    auto [widthEnd, widthError] = std::from_chars(size.data(), size.data() + x, width);
    auto [heightEnd, heightError] = std::from_chars(size.data() + x + 1, end, height);
    const bool whole = widthError == std::errc() && heightError == std::errc() &&
                       widthEnd == size.data() + x && heightEnd == end;
    return whole && width > 0 && height > 0 ? width : 0;
}

const std::string* parameter(const Inventory::Parameters& parameters, const std::string& name) {
    auto found = parameters.find(name);
    return found == parameters.end() ? nullptr : &found->second;
}
} // namespace

ErrorOr<Inventory> Inventory::load(const std::filesystem::path& folder) {
    const auto manifestPath = folder / kManifestName;
    auto text = readFile(manifestPath);
    if (text.hasError()) {
        return text.error();
    }
    const auto manifest = nlohmann::json::parse(text.value(), nullptr, false);
    const auto bad = [&manifestPath](const std::string& why) {
        return refused(manifestPath.string() + ": " + why);
    };
    if (!manifest.is_object()) {
        return bad("is not a JSON object");
    }
    Inventory inventory;
    // Every file the manifest names, read now and checked to be a plain name of the folder.
    const auto take = [&](const nlohmann::json& name) -> ErrorOr<std::string> {
        if (!name.is_string() || name.get<std::string>().find('/') != std::string::npos ||
            name.get<std::string>().empty()) {
            return bad("wants plain file names of the inventory folder");
        }
        auto contents = readFile(folder / name.get<std::string>());
        if (contents.hasError()) {
            return bad(contents.error()->localizedDescription());
        }
        return contents;
    };

    const auto banners = manifest.value("banners", nlohmann::json());
    if (!banners.is_object() || banners.empty()) {
        return bad("\"banners\" wants an object of sizes (\"320x50\") to files");
    }
    for (const auto& [size, name] : banners.items()) {
        const int width = bannerWidth(size);
        if (width == 0 || inventory.bannersByWidth_.count(width)) {
            return bad("\"banners\" wants sizes of distinct widths written WxH, not: " + size);
        }
        auto creative = take(name);
        if (creative.hasError()) {
            return creative.error();
        }
        inventory.bannersByWidth_[width] = size;
        inventory.creatives_[size] = std::move(creative).value();
    }
    auto interstitial = take(manifest.value(kInterstitial, nlohmann::json()));
    if (interstitial.hasError()) {
        return interstitial.error();
    }
    inventory.creatives_[kInterstitial] = std::move(interstitial).value();

    const auto units = manifest.value("units", nlohmann::json());
    if (!units.is_object() || !units.contains(kDefaultUnit)) {
        return bad("\"units\" wants an object of ad units holding \"default\"");
    }
    for (const auto& [name, entry] : units.items()) {
        auto unit = AdUnit::fromJSON(name, entry);
        if (unit.hasError()) {
            return bad(unit.error()->localizedDescription());
        }
        const auto& body = unit.value().bodyFile();
        if (body && !body->empty() && !inventory.files_.count(*body)) {
            auto contents = take(*body);
            if (contents.hasError()) {
                return contents.error();
            }
            inventory.files_[*body] = std::move(contents).value();
        }
        inventory.units_.emplace(name, std::move(unit).value());
    }
    inventory.files_[""] = "";

    for (const auto& app : manifest.value("apps", nlohmann::json::array())) {
        const bool complete = app.is_object() && app.value("slug", nlohmann::json()).is_string() &&
                              app.value("name", nlohmann::json()).is_string() &&
                              app.value("tagline", nlohmann::json()).is_string();
        if (!complete) {
            return bad("\"apps\" wants objects with a slug, a name and a tagline");
        }
        inventory.apps_.push_back({app.at("slug"), app.at("name"), app.at("tagline")});
    }
    return inventory;
}

const AdUnit& Inventory::unitFor(const std::string& slotname) const {
    auto found = units_.find(slotname);
    return found != units_.end() ? found->second : units_.at(kDefaultUnit);
}

std::string Inventory::sizeFor(const Parameters& parameters) const {
    if (const auto* format = parameter(parameters, "format")) {
        if (*format == "interstitial_mb") {
            return kInterstitial;
        }
        // Fluid banners ask for "320x50_mb".
        const auto suffix = format->rfind("_mb");
        const auto size = format->substr(0, suffix);
        if (suffix != std::string::npos && bannerWidth(size) != 0 && creatives_.count(size)) {
            return size;
        }
    }
    if (const auto* sizes = parameter(parameters, "sz")) {
        std::istringstream list(*sizes);
        std::string size;
        while (std::getline(list, size, '|')) {
            if (bannerWidth(size) != 0 && creatives_.count(size)) {
                return size;
            }
        }
    }
    if (const auto* frame = parameter(parameters, "ad_frame")) {
        const auto decoded = nlohmann::json::parse(*frame, nullptr, false);
        const auto width = decoded.is_object() ? decoded.value("w", nlohmann::json()) : nullptr;
        if (width.is_number()) {
            // The widest banner the frame holds; the smallest when none fits.
            const double clamped =
                std::clamp(width.get<double>(), 0.0, double(std::numeric_limits<int>::max()));
            auto fits = bannersByWidth_.upper_bound(static_cast<int>(clamped));
            return fits == bannersByWidth_.begin() ? fits->second : std::prev(fits)->second;
        }
    }
    return bannersByWidth_.begin()->second;
}

nlohmann::json Inventory::pageAnswers() const {
    nlohmann::json answers = nlohmann::json::object();
    for (const auto& [name, unit] : units_) {
        answers[name] = unit.pageAnswer();
    }
    return answers;
}

const Inventory::App* Inventory::app(const std::string& slug) const {
    for (const auto& app : apps_) {
        if (app.slug == slug) {
            return &app;
        }
    }
    return nullptr;
}
