#include "adserver/AdServer.h"

#include <httplib.h>
#include <nlohmann/json.hpp>

#include <charconv>
#include <chrono>
#include <cstring>
#include <ctime>
#include <fstream>
#include <optional>
#include <regex>
#include <sstream>

namespace {
constexpr const char* kErrorDomain = "AdServerErrorDomain";
constexpr const char* kHTML = "text/html; charset=utf-8";
constexpr const char* kJSON = "application/json";
constexpr const char* kText = "text/plain; charset=utf-8";
// No request the engine sends comes near this; a larger body is refused (413) before it is
// read, so a client cannot make the server hold or echo any amount it likes.
constexpr size_t kMostBodyBytes = 1024 * 1024;
// The site's files, by name.
constexpr const char* kSiteFiles[] = {"sdk-core-v40.html", "native_ads.html", "mraid.js",
                                      "ad-page.js",        "landing.html",    "picture.png"};
// Where the server writes the ad units' page answers into the core page.
constexpr std::string_view kUnitsMarker =
    R"(<script type="application/json" id="ad-units">{}</script>)";
// The MRAID scripts: one script of ours, told which placement it serves.
constexpr std::pair<const char*, const char*> kMRAIDScripts[] = {
    {"mraid_app_banner.js", "inline"},
    {"mraid_app_expanded_banner.js", "expanded"},
    {"mraid_app_interstitial.js", "interstitial"},
};

// The text with every `mark` replaced by `value`.
std::string replacedAll(std::string text, const std::string& mark, const std::string& value) {
    for (auto at = text.find(mark); at != std::string::npos; at = text.find(mark, at)) {
        text.replace(at, mark.size(), value);
        at += value.size();
    }
    return text;
}

// The text with each "{{key}}" replaced by its value.
std::string filled(std::string text, const std::map<std::string, std::string>& values) {
    for (const auto& [key, value] : values) {
        text = replacedAll(std::move(text), "{{" + key + "}}", value);
    }
    return text;
}

std::string queryOf(const httplib::Params& parameters) {
    std::string query;
    for (const auto& [name, value] : parameters) {
        query += (query.empty() ? "" : "&") + httplib::detail::encode_query_param(name) + "=" +
                 httplib::detail::encode_query_param(value);
    }
    return query;
}

void refuse(httplib::Response& response, int status, const std::string& why) {
    response.status = status;
    response.set_content(why + "\n", kText);
}

// A path of this server ("/landing/x"), never another host ("//host", "/\host").
bool isLocalPath(const std::string& target) {
    return target.size() >= 1 && target[0] == '/' &&
           (target.size() == 1 || (target[1] != '/' && target[1] != '\\')) &&
           target.find_first_of("\r\n") == std::string::npos;
}

// A URL of a scheme that ends a redirect chain outside the web ("mixphotos://open").
bool isAppSchemeURL(const std::string& target) {
    static const std::regex scheme("^([a-z][a-z0-9+.-]*):[^\\r\\n]*$", std::regex::icase);
    std::smatch match;
    if (!std::regex_match(target, match, scheme)) {
        return false;
    }
    std::string name = match[1];
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return name != "http" && name != "https" && name != "javascript" && name != "data" &&
           name != "file";
}

// A whole number from 0 to `high` under `name`; `fallback` when absent, -1 when malformed.
int countParameter(const httplib::Request& request, const char* name, int fallback, int high) {
    if (!request.has_param(name)) {
        return fallback;
    }
    const auto text = request.get_param_value(name);
    int value = -1;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && value >= 0 && value <= high
               ? value
               : -1;
}

// An HTTP date of a time: "Sun, 06 Nov 1994 08:49:37 GMT".
std::string httpDate(std::time_t time) {
    std::tm parts{};
    gmtime_r(&time, &parts);
    char text[64];
    std::strftime(text, sizeof text, "%a, %d %b %Y %H:%M:%S GMT", &parts);
    return text;
}

// An HTTP date, with or without its zone (always GMT); nothing when it does not read.
std::optional<std::time_t> parsedHTTPDate(const std::string& text) {
    std::tm parts{};
    const char* end = strptime(text.c_str(), "%a, %d %b %Y %H:%M:%S", &parts);
    if (!end || (*end != '\0' && std::string_view(end) != " GMT")) {
        return std::nullopt;
    }
    return timegm(&parts);
}

// An "@field@" left in a conversion URL: the engine did not fill in its template.
bool hasUnfilledField(const httplib::Params& parameters) {
    static const std::regex field("@[A-Za-z_]+@");
    for (const auto& [name, value] : parameters) {
        if (std::regex_search(name, field) || std::regex_search(value, field)) {
            return true;
        }
    }
    return false;
}
} // namespace

ErrorOr<std::unique_ptr<AdServer>> AdServer::create(const Configuration& configuration) {
    std::unique_ptr<AdServer> server(new AdServer);
    server->configuration_ = configuration;
    server->startedAt_ = std::time(nullptr);
    for (const char* name : kSiteFiles) {
        std::ifstream file(configuration.site / name, std::ios::binary);
        if (!file) {
            return makeError(kErrorDomain, 1,
                             "cannot read " + (configuration.site / name).string());
        }
        std::ostringstream text;
        text << file.rdbuf();
        server->site_[name] = text.str();
    }
    if (server->site_["sdk-core-v40.html"].find(kUnitsMarker) == std::string::npos) {
        return makeError(
            kErrorDomain, 1,
            (configuration.site / "sdk-core-v40.html").string() +
                ": the place of the ad units is missing: " + std::string(kUnitsMarker));
    }
    auto inventory = Inventory::load(configuration.inventory);
    if (inventory.hasError()) {
        return inventory.error();
    }
    server->inventory_ = std::make_unique<Inventory>(std::move(inventory).value());
    auto hits = HitLog::open(configuration.hits);
    if (hits.hasError()) {
        return hits.error();
    }
    server->hits_ = std::move(hits).value();
    server->server_ = std::make_unique<httplib::Server>();
    server->server_->set_payload_max_length(kMostBodyBytes);
    // The library makes its task queue as its loop starts, after which its own stop takes
    // effect: the moment stop() waits for.
    server->server_->new_task_queue = [raw = server.get()] {
        {
            std::lock_guard lock(raw->mutex_);
            raw->serving_ = true;
        }
        raw->changed_.notify_all();
        return new httplib::ThreadPool(CPPHTTPLIB_THREAD_POOL_COUNT);
    };
    server->addRoutes();
    return server;
}

AdServer::~AdServer() {
    stop();
}

ErrorOr<int> AdServer::bind(int port) {
    port_ = port == 0 ? server_->bind_to_any_port(configuration_.host)
                      : (server_->bind_to_port(configuration_.host, port) ? port : -1);
    if (port_ <= 0) {
        return makeError(kErrorDomain, 3,
                         "cannot listen on " + configuration_.host + " port " +
                             std::to_string(port));
    }
    return port_;
}

bool AdServer::listen() {
    {
        std::lock_guard lock(mutex_);
        if (stopping_) {
            return true;
        }
        listening_ = true;
    }
    const bool served = server_->listen_after_bind();
    std::lock_guard lock(mutex_);
    listening_ = false;
    changed_.notify_all();
    return served;
}

void AdServer::stop() {
    std::unique_lock lock(mutex_);
    stopping_ = true;
    changed_.notify_all();
    // The library forgets a stop that comes before its loop runs, and must be stopped only
    // once: wait for the loop, stop it (the first caller), wait for listen() to return.
    changed_.wait(lock, [this] { return serving_ || !listening_; });
    if (listening_ && !stopCalled_) {
        stopCalled_ = true;
        server_->stop();
    }
    changed_.wait(lock, [this] { return !listening_; });
}

std::string AdServer::baseURL() const {
    return "http://" + configuration_.host + ":" + std::to_string(port_);
}

void AdServer::delay(int milliseconds) {
    std::unique_lock lock(mutex_);
    changed_.wait_for(lock, std::chrono::milliseconds(milliseconds), [this] { return stopping_; });
}

void AdServer::addRoutes() {
    auto& server = *server_;
    // One connection per request: a kept-alive connection would hold stop() up.
    server.set_keep_alive_max_count(1);
    // Written before the answer is, so whoever has an answer finds its hit.
    server.set_post_routing_handler(
        [this](const httplib::Request& request, const httplib::Response& response) {
            HitLog::Hit hit{request.method,      request.path,   request.params, {},
                            request.body.size(), response.status};
            // The library adds the connection's addresses as headers; the client sent none of them.
            for (const auto& [name, value] : request.headers) {
                if (name != "REMOTE_ADDR" && name != "REMOTE_PORT" && name != "LOCAL_ADDR" &&
                    name != "LOCAL_PORT") {
                    hit.headers.emplace(name, value);
                }
            }
            hits_->record(hit);
        });
    server.set_error_handler([](const httplib::Request& request, httplib::Response& response) {
        // An ad unit's refusal is answered as the inventory has it, also when empty.
        if (response.body.empty() && request.path != kAdPath) {
            response.set_content(response.status == 404
                                     ? "nothing here: " + request.path + "\n"
                                     : "the request was refused (" +
                                           std::to_string(response.status) + ")\n",
                                 kText);
        }
    });
    server.set_exception_handler(
        [](const httplib::Request&, httplib::Response& response, std::exception_ptr) {
            refuse(response, 500, "the server failed to answer");
        });

    server.Get(kCorePagePath, [this](const httplib::Request&, httplib::Response& response) {
        // The units sit inside a script element: no "</" may end it early.
        const auto units = replacedAll(inventory_->pageAnswers().dump(), "</", "<\\/");
        std::string page = site_.at("sdk-core-v40.html");
        const std::string marker(kUnitsMarker);
        page.replace(page.find(marker), marker.size(),
                     R"(<script type="application/json" id="ad-units">)" + units + "</script>");
        response.set_content(page, kHTML);
    });
    server.Get(kNativeAdsPagePath, [this](const httplib::Request&, httplib::Response& response) {
        response.set_content(site_.at("native_ads.html"), kHTML);
    });
    for (const auto& [name, placement] : kMRAIDScripts) {
        server.Get(std::string(kMRAIDFolder) + name, [this, placement = std::string(placement)](
                                                         const httplib::Request&,
                                                         httplib::Response& response) {
            response.set_content(filled(site_.at("mraid.js"), {{"placement", placement}}),
                                 "application/javascript");
        });
    }
    // Dated as of the server's start: a client that has it since then is told 304.
    server.Get("/static/picture.png",
               [this](const httplib::Request& request, httplib::Response& response) {
                   response.set_header("Last-Modified", httpDate(startedAt_));
                   const auto since = parsedHTTPDate(request.get_header_value("If-Modified-Since"));
                   if (since && *since >= startedAt_) {
                       response.status = 304;
                       return;
                   }
                   response.set_content(site_.at("picture.png"), "image/png");
               });
    server.Get(kAdPath, [this](const httplib::Request& request, httplib::Response& response) {
        answerAd(request, response);
    });
    server.Get(R"(/landing/([a-z0-9-]+))",
               [this](const httplib::Request& request, httplib::Response& response) {
                   answerLanding(request, response);
               });

    // Tracking: impressions, manual impressions and the like answer with nothing.
    for (const char* path : {"/zadpage/impression", "/zadpage/report_204"}) {
        server.Get(path, [](const httplib::Request&, httplib::Response& response) {
            response.status = 204;
        });
    }
    server.Get("/csi", [](const httplib::Request& request, httplib::Response& response) {
        if (!request.has_param("action")) {
            refuse(response, 400, "a latency report names its action");
            return;
        }
        response.status = 204;
    });
    server.Get(R"(/zadpage/conversion/.*)",
               [](const httplib::Request& request, httplib::Response& response) {
                   if (hasUnfilledField(request.params)) {
                       refuse(response, 400, "the conversion URL holds an unfilled @field@");
                       return;
                   }
                   response.status = 204;
               });
    server.Get("/zadpage/click", [](const httplib::Request& request, httplib::Response& response) {
        const auto destination = request.get_param_value("dest");
        if (!isLocalPath(destination)) {
            refuse(response, 400, "a click names its destination, a path of this server");
            return;
        }
        response.set_redirect(destination);
    });
    // A chain of n redirects ending at a path of this server or at an app's URL.
    server.Get("/zadpage/redirect", [](const httplib::Request& request,
                                       httplib::Response& response) {
        const int hops = countParameter(request, "n", 0, 10);
        const auto target = request.get_param_value("to");
        if (hops < 0 || !(isLocalPath(target) || isAppSchemeURL(target))) {
            refuse(response, 400,
                   "a redirect chain wants n from 0 to 10 and a target: a path of this server "
                   "or an app's URL");
            return;
        }
        response.set_redirect(hops == 0 ? target
                                        : "/zadpage/redirect?n=" + std::to_string(hops - 1) +
                                              "&to=" + httplib::detail::encode_query_param(target));
    });
    server.Get("/zadpage/ping",
               [this](const httplib::Request& request, httplib::Response& response) {
                   answerPing(request, response);
               });
    server.Post("/s/reportAd", [](const httplib::Request& request, httplib::Response& response) {
        const auto report = nlohmann::json::parse(request.body, nullptr, false);
        if (!report.is_object() || !report.contains("debugHeader")) {
            refuse(response, 400, "a bad-ad report is a JSON object with its \"debugHeader\"");
            return;
        }
        response.status = 204;
    });
    server.Post("/oauth2/v3/token",
                [this](const httplib::Request& request, httplib::Response& response) {
                    answerToken(request, response);
                });
    // What the request was, for the engine's HTTP relay and for people trying things out.
    const auto echo = [](const httplib::Request& request, httplib::Response& response) {
        nlohmann::json headers = nlohmann::json::object();
        for (const auto& [name, value] : request.headers) {
            headers[name] = value;
        }
        const nlohmann::json answer = {{"method", request.method},
                                       {"query", queryOf(request.params)},
                                       {"headers", headers},
                                       {"body", request.body}};
        response.set_content(answer.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace),
                             kJSON);
    };
    server.Get("/echo", echo);
    server.Post("/echo", echo);
}

void AdServer::answerAd(const httplib::Request& request, httplib::Response& response) {
    const auto& unit = inventory_->unitFor(request.get_param_value("slotname"));
    const int hop = countParameter(request, "hop", 0, unit.redirects());
    if (hop < 0) {
        refuse(response, 400,
               "hop wants a whole number from 0 to " + std::to_string(unit.redirects()) +
                   " for this unit");
        return;
    }
    if (hop < unit.redirects()) {
        auto parameters = request.params;
        parameters.erase("hop");
        parameters.emplace("hop", std::to_string(hop + 1));
        response.set_redirect(std::string(kAdPath) + "?" + queryOf(parameters));
        return;
    }
    response.status = unit.status();
    const auto base = baseURL();
    for (const auto& [name, value] : unit.headers()) {
        response.set_header(name.c_str(), replacedAll(value, "{base}", base));
    }
    // A creative gets the script every ad page of ours shares.
    const std::string body = unit.bodyFile()
                                 ? inventory_->file(*unit.bodyFile())
                                 : filled(inventory_->creative(inventory_->sizeFor(request.params)),
                                          {{"ad_page_script", site_.at("ad-page.js")}});
    if (unit.brokenOff()) {
        // The length promised is the whole body's; half of it comes, then the connection ends.
        const std::string half = body.substr(0, body.size() / 2);
        response.set_content_provider(body.size(), unit.contentType().c_str(),
                                      [half](size_t offset, size_t, httplib::DataSink& sink) {
                                          if (offset == 0 && !half.empty()) {
                                              sink.write(half.data(), half.size());
                                          }
                                          return false;
                                      });
        return;
    }
    if (const int milliseconds = unit.delayMilliseconds(); milliseconds > 0 && !body.empty()) {
        // The headers leave at once, the body only after the delay: a client may settle on
        // an answer by its headers alone.
        response.set_content_provider(
            body.size(), unit.contentType().c_str(),
            [this, body, milliseconds](size_t offset, size_t, httplib::DataSink& sink) {
                if (offset == 0) {
                    delay(milliseconds);
                }
                return sink.write(body.data() + offset, body.size() - offset);
            });
        return;
    }
    response.set_content(body, unit.contentType().c_str());
}

void AdServer::answerPing(const httplib::Request& request, httplib::Response& response) {
    const auto id = request.get_param_value("id");
    const int failures = countParameter(request, "fail", 0, kMaxPingFailures);
    if (id.empty() || failures < 0) {
        refuse(response, 400,
               "a ping names its id, and fail (0 to " + std::to_string(kMaxPingFailures) +
                   ") says how often it fails before it succeeds");
        return;
    }
    bool fails = false;
    {
        std::lock_guard lock(mutex_);
        if (pingFailures_.size() >= kMaxPingIds && !pingFailures_.count(id)) {
            refuse(response, 429, "too many ping ids");
            return;
        }
        // The first hit of an id sets how often it fails; later hits count it down.
        auto owed = pingFailures_.emplace(id, failures).first;
        fails = owed->second > 0;
        owed->second -= fails ? 1 : 0;
    }
    if (fails) {
        refuse(response, 503, "this ping fails on purpose; try again");
        return;
    }
    response.status = 204;
}

void AdServer::answerToken(const httplib::Request& request, httplib::Response& response) {
    httplib::Params form;
    httplib::detail::parse_query_text(request.body, form);
    const auto field = [&form](const char* name) {
        auto found = form.find(name);
        return found == form.end() ? std::string() : found->second;
    };
    response.status = 400;
    for (const char* name : {"client_id", "grant_type", "refresh_token", "scope"}) {
        if (field(name).empty()) {
            response.set_content(
                nlohmann::json{{"error", "invalid_request"},
                               {"error_description", std::string("missing ") + name}}
                    .dump(),
                kJSON);
            return;
        }
    }
    if (field("grant_type") != "refresh_token") {
        response.set_content(R"({"error":"unsupported_grant_type"})", kJSON);
        return;
    }
    response.status = 200;
    // A token that says which refresh token it came from, so tests can tell tokens apart.
    const auto token = "token-" + std::to_string(std::hash<std::string>()(field("refresh_token")));
    response.set_content(nlohmann::json{{"access_token", token}, {"expires_in", 3600}}.dump(),
                         kJSON);
}

void AdServer::answerLanding(const httplib::Request& request, httplib::Response& response) {
    const auto& apps = inventory_->apps();
    const auto* app = inventory_->app(request.matches[1]);
    if (!app) {
        refuse(response, 404, "no app of that name");
        return;
    }
    // Each landing page links to the next app's, so a visitor can go forward and back.
    const auto& next = apps[(static_cast<size_t>(app - apps.data()) + 1) % apps.size()];
    response.set_content(
        filled(
            site_.at("landing.html"),
            {{"name", app->name},
             {"tagline", app->tagline},
             {"slug", app->slug},
             {"next_slug", next.slug},
             {"next_name", next.name},
             {"notice", request.has_param("subscribed") ? "You are on the list. Thank you!" : ""}}),
        kHTML);
}
