#include "platform/foundation/URLLoader.h"

#include "platform/foundation/NSData.h"
#include "platform/foundation/NSHTTPURLResponse.h"
#include "platform/foundation/NSLog.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/NSURLError.h"

#include <curl/curl.h>
#include <openssl/crypto.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <limits>
#include <strings.h>

namespace {

using SteadyClock = std::chrono::steady_clock;

// The system's authorities plus the test certificates, as one PEM bundle; empty when only
// the system's are trusted.
struct TrustedCertificates {
    std::mutex mutex;
    std::string bundle;
};

TrustedCertificates& trustedCertificates() {
    static auto* certificates = new TrustedCertificates;
    return *certificates;
}

std::atomic<size_t>& maximumBodySizeSetting() {
    static std::atomic<size_t> bytes{URLLoader::kDefaultMaximumBodySize};
    return bytes;
}

std::atomic<bool>& loopbackOnlySetting() {
    static std::atomic<bool> loopbackOnly{false};
    return loopbackOnly;
}

std::string httpVersionName(long version) {
    switch (version) {
    case CURL_HTTP_VERSION_1_0:
        return "HTTP/1.0";
    case CURL_HTTP_VERSION_2_0:
        return "HTTP/2";
    case CURL_HTTP_VERSION_3:
        return "HTTP/3";
    default:
        return "HTTP/1.1";
    }
}

// Header text as the platform reads it: UTF-8 when it is, else ISO-8859-1 (each byte one
// character), so that no header a server sends gives text that is not UTF-8.
std::string headerText(std::string line) {
    if (NSString::isValidUTF8(line)) {
        return line;
    }
    std::string text;
    text.reserve(line.size() * 2);
    for (const unsigned char byte : line) {
        if (byte < 0x80) {
            text += static_cast<char>(byte);
        } else {
            text += static_cast<char>(0xC0 | (byte >> 6));
            text += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return text;
}

} // namespace

// One load: its curl handle with what the handle points into, and what came back so far.
struct URLLoader::Transfer {
    // Declared first, so released last: after the completion ran and the handle is gone.
    GlobalThreadPool::BusyMark busy = GlobalThreadPool::shared().markBusy();
    uint64_t id = 0;
    Completion completion;
    ResponseArrival arrival;
    std::shared_ptr<NSURL> url;
    // Set when the load cannot start; it then completes with this at once.
    std::shared_ptr<NSError> setupError;
    CURL* easy = nullptr;
    curl_slist* headers = nullptr;
    std::vector<uint8_t> requestBody;
    double timeout = 0;
    size_t maximumBodySize = 0;

    std::vector<uint8_t> body;
    // Those of the last response: a redirect's are dropped when the next one starts.
    NSHTTPHeaderFields responseHeaders;
    std::string lastHeaderName;
    // Whether `arrival` heard of the current response: trailers after a body end in a
    // blank line too.
    bool arrivalTold = false;
    bool exceededMaximum = false;
    curl_off_t uploaded = 0;
    SteadyClock::time_point lastActivity;

    Transfer() = default;
    Transfer(const Transfer&) = delete;
    Transfer& operator=(const Transfer&) = delete;
    ~Transfer() {
        curl_slist_free_all(headers);
        if (easy) {
            curl_easy_cleanup(easy);
        }
    }

    std::string urlString() const { return url ? url->absoluteString() : std::string(); }
    // Sets the handle up for the request, or setupError when the load cannot start.
    void configure(const NSURLRequest* request, Redirects redirects);
    std::shared_ptr<NSError> errorFor(CURLcode result) const;
    std::shared_ptr<NSHTTPURLResponse> response() const;
    // The status code of the last response received; 0 before any.
    long statusCode() const;

    static size_t receiveBody(char* data, size_t size, size_t count, void* transfer);
    static size_t receiveHeader(char* data, size_t size, size_t count, void* transfer);
    static int progress(void* transfer, curl_off_t, curl_off_t, curl_off_t, curl_off_t uploaded);
};

void URLLoader::Transfer::configure(const NSURLRequest* request, Redirects redirects) {
    url = request ? request->URL() : nullptr;
    if (!url) {
        setupError = NSURLErrorWithCode(NSURLErrorBadURL, "");
        return;
    }
    if (strcasecmp(url->scheme().c_str(), "http") != 0 &&
        strcasecmp(url->scheme().c_str(), "https") != 0) {
        setupError = NSURLErrorWithCode(NSURLErrorUnsupportedURL, urlString());
        return;
    }
    if (loopbackOnlySetting() && !url->isLoopbackHost()) {
        setupError = NSURLErrorWithCode(NSURLErrorCannotFindHost, urlString());
        return;
    }
    easy = curl_easy_init();
    if (!easy) {
        setupError = NSURLErrorWithCode(NSURLErrorUnknown, urlString());
        return;
    }
    // Not positive (or not a number) means the default; beyond a year means a year, which
    // keeps the deadline arithmetic in range.
    double seconds = request->timeoutInterval();
    timeout = seconds > 0 ? std::min(seconds, 365.0 * 24 * 3600) : 60;

    curl_easy_setopt(easy, CURLOPT_URL, urlString().c_str());
    curl_easy_setopt(easy, CURLOPT_PRIVATE, this);
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, redirects == Redirects::Follow ? 1L : 0L);
    curl_easy_setopt(easy, CURLOPT_MAXREDIRS, maximumRedirects);
    curl_easy_setopt(easy, CURLOPT_NOPROXY, "*");
    // Compressed answers are decoded, as the platform does.
    curl_easy_setopt(easy, CURLOPT_ACCEPT_ENCODING, "");
    maximumBodySize =
        std::min(URLLoader::maximumBodySize(),
                 request->maximumBodySize().value_or(std::numeric_limits<size_t>::max()));
    // An announced length over the maximum fails before any of the body arrives.
    curl_easy_setopt(easy, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(maximumBodySize));
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, receiveBody);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, this);
    curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, receiveHeader);
    curl_easy_setopt(easy, CURLOPT_HEADERDATA, this);
    curl_easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, progress);
    curl_easy_setopt(easy, CURLOPT_XFERINFODATA, this);
    curl_easy_setopt(easy, CURLOPT_NOPROGRESS, 0L);
    {
        TrustedCertificates& trusted = trustedCertificates();
        std::lock_guard lock(trusted.mutex);
        if (!trusted.bundle.empty()) {
            curl_blob blob{trusted.bundle.data(), trusted.bundle.size(), CURL_BLOB_COPY};
            curl_easy_setopt(easy, CURLOPT_CAINFO_BLOB, &blob);
        }
    }

    const std::string& method = request->HTTPMethod();
    if (method == "HEAD") {
        curl_easy_setopt(easy, CURLOPT_NOBODY, 1L);
    } else if (!method.empty() && method != "GET") {
        // A GET sends no body; other methods send theirs, POST even an empty one.
        requestBody = request->HTTPBody();
        if (method == "POST" || !requestBody.empty()) {
            curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE,
                             static_cast<curl_off_t>(requestBody.size()));
            // Null fields would make curl ask for a read callback.
            curl_easy_setopt(
                easy, CURLOPT_POSTFIELDS,
                requestBody.empty() ? "" : reinterpret_cast<const char*>(requestBody.data()));
        }
        if (method != "POST") {
            curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, method.c_str());
        }
    }

    for (const auto& [name, value] : request->allHTTPHeaderFields()) {
        // A line break would smuggle further fields (or a request) into the header.
        if (name.empty() || name.find_first_of(":\r\n") != std::string::npos ||
            value.find_first_of("\r\n") != std::string::npos) {
            NSLog("Loading %@: leaving out the malformed header field \"%@\"", urlString(), name);
            continue;
        }
        // "Name;" is curl's way to send a field with an empty value.
        std::string line = value.empty() ? name + ";" : name + ": " + value;
        headers = curl_slist_append(headers, line.c_str());
    }
    if (!request->valueForHTTPHeaderField("Expect")) {
        // No "100-continue" round trip before sending a body.
        headers = curl_slist_append(headers, "Expect:");
    }
    curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headers);
}

size_t URLLoader::Transfer::receiveBody(char* data, size_t size, size_t count, void* userData) {
    auto* transfer = static_cast<Transfer*>(userData);
    size_t length = size * count;
    transfer->lastActivity = SteadyClock::now();
    if (transfer->body.size() + length > transfer->maximumBodySize) {
        transfer->exceededMaximum = true;
        return 0;
    }
    transfer->body.insert(transfer->body.end(), data, data + length);
    return length;
}

size_t URLLoader::Transfer::receiveHeader(char* data, size_t size, size_t count, void* userData) {
    auto* transfer = static_cast<Transfer*>(userData);
    size_t length = size * count;
    transfer->lastActivity = SteadyClock::now();
    std::string line = headerText(std::string(data, length));
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) {
        line.pop_back();
    }
    NSHTTPHeaderFields& fields = transfer->responseHeaders;
    if (line.rfind("HTTP/", 0) == 0) {
        // The status line of a new response (after a redirect or a "100 Continue").
        fields.clear();
        transfer->lastHeaderName.clear();
        transfer->arrivalTold = false;
    } else if (line.empty()) {
        // The end of a response's headers; an interim 1xx one has another response after it.
        if (transfer->arrival && !transfer->arrivalTold && transfer->statusCode() >= 200) {
            transfer->arrivalTold = true;
            transfer->arrival(transfer->response());
        }
    } else if (!line.empty() && (line[0] == ' ' || line[0] == '\t')) {
        if (!transfer->lastHeaderName.empty()) {
            fields[transfer->lastHeaderName] +=
                " " + NSString::stringByTrimmingWhitespaceAndNewlines(line);
        }
    } else if (size_t colon = line.find(':'); colon != std::string::npos && colon > 0) {
        std::string value = NSString::stringByTrimmingWhitespaceAndNewlines(line.substr(colon + 1));
        auto [field, inserted] = fields.try_emplace(line.substr(0, colon), value);
        if (!inserted) {
            field->second += ", " + value;
        }
        transfer->lastHeaderName = field->first;
    }
    return length;
}

int URLLoader::Transfer::progress(void* userData, curl_off_t, curl_off_t, curl_off_t,
                                  curl_off_t uploaded) {
    auto* transfer = static_cast<Transfer*>(userData);
    if (uploaded != transfer->uploaded) {
        transfer->uploaded = uploaded;
        transfer->lastActivity = SteadyClock::now();
    }
    return 0;
}

std::shared_ptr<NSError> URLLoader::Transfer::errorFor(CURLcode result) const {
    long code = NSURLErrorUnknown;
    switch (result) {
    case CURLE_UNSUPPORTED_PROTOCOL: {
        // The scheme was checked before the load: without a status, the server's answer
        // was not HTTP; with one, a redirect led to another scheme.
        code = statusCode() == 0 ? NSURLErrorBadServerResponse : NSURLErrorUnsupportedURL;
        break;
    }
    case CURLE_URL_MALFORMAT:
        code = NSURLErrorBadURL;
        break;
    case CURLE_COULDNT_RESOLVE_HOST:
        code = NSURLErrorCannotFindHost;
        break;
    case CURLE_COULDNT_CONNECT: {
        long systemError = 0;
        curl_easy_getinfo(easy, CURLINFO_OS_ERRNO, &systemError);
        code = systemError == ENETUNREACH || systemError == ENETDOWN
                   ? NSURLErrorNotConnectedToInternet
                   : NSURLErrorCannotConnectToHost;
        break;
    }
    case CURLE_OPERATION_TIMEDOUT:
        code = NSURLErrorTimedOut;
        break;
    case CURLE_TOO_MANY_REDIRECTS:
        code = NSURLErrorHTTPTooManyRedirects;
        break;
    case CURLE_FILESIZE_EXCEEDED:
        code = NSURLErrorDataLengthExceedsMaximum;
        break;
    case CURLE_WRITE_ERROR:
        code = exceededMaximum ? NSURLErrorDataLengthExceedsMaximum : NSURLErrorUnknown;
        break;
    case CURLE_PEER_FAILED_VERIFICATION:
        code = NSURLErrorServerCertificateUntrusted;
        break;
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_SSL_CIPHER:
        code = NSURLErrorSecureConnectionFailed;
        break;
    case CURLE_GOT_NOTHING:
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
    case CURLE_PARTIAL_FILE:
    case CURLE_HTTP2_STREAM:
        code = NSURLErrorNetworkConnectionLost;
        break;
    case CURLE_WEIRD_SERVER_REPLY:
    case CURLE_BAD_CONTENT_ENCODING:
    case CURLE_HTTP2:
        code = NSURLErrorBadServerResponse;
        break;
    default:
        break;
    }
    if (code == NSURLErrorUnknown) {
        NSLog("Loading %@ failed: %@", urlString(), curl_easy_strerror(result));
    }
    return NSURLErrorWithCode(code, urlString(), url->host());
}

long URLLoader::Transfer::statusCode() const {
    long status = 0;
    curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);
    return status;
}

std::shared_ptr<NSHTTPURLResponse> URLLoader::Transfer::response() const {
    const long status = statusCode();
    long version = 0;
    char* effectiveURL = nullptr;
    curl_easy_getinfo(easy, CURLINFO_HTTP_VERSION, &version);
    curl_easy_getinfo(easy, CURLINFO_EFFECTIVE_URL, &effectiveURL);
    // Where the redirects led; the request's URL when curl's text is not one we accept.
    std::shared_ptr<NSURL> responseURL =
        effectiveURL ? NSURL::URLWithString(effectiveURL) : nullptr;
    return NSHTTPURLResponse::initWithURLStatusCodeHTTPVersionHeaderFields(
        responseURL ? responseURL : url, status, httpVersionName(version), responseHeaders);
}

URLLoader::URLLoader() {
    static std::once_flag initialized;
    std::call_once(initialized, [] {
        // Loads may still run on their threads while the process exits; OpenSSL must not
        // tear itself down under them at exit, which it does unless told so at its first
        // initialisation (curl's would be that one).
        OPENSSL_init_crypto(OPENSSL_INIT_NO_ATEXIT, nullptr);
        curl_global_init(CURL_GLOBAL_DEFAULT);
    });
    multi_ = curl_multi_init();
    thread_ = std::thread([this] { run(); });
}

URLLoader::~URLLoader() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    curl_multi_wakeup(multi_);
    thread_.join();
    curl_multi_cleanup(multi_);
}

uint64_t URLLoader::load(const std::shared_ptr<NSURLRequest>& request, Completion completion,
                         Redirects redirects, ResponseArrival arrival) {
    auto transfer = std::make_unique<Transfer>();
    transfer->completion = std::move(completion);
    transfer->arrival = std::move(arrival);
    transfer->configure(request.get(), redirects);
    uint64_t id = 0;
    {
        std::lock_guard lock(mutex_);
        id = nextId_++;
        transfer->id = id;
        incoming_.push_back(std::move(transfer));
    }
    curl_multi_wakeup(multi_);
    return id;
}

void URLLoader::cancel(uint64_t id) {
    {
        std::lock_guard lock(mutex_);
        cancellations_.push_back(id);
    }
    curl_multi_wakeup(multi_);
}

void URLLoader::setAdditionalTrustedCertificatesFile(const std::string& pemPath) {
    std::string bundle;
    if (!pemPath.empty()) {
        if (auto added = NSData::dataWithContentsOfFile(pemPath)) {
            CURL* probe = curl_easy_init();
            char* systemBundle = nullptr;
            if (probe) {
                curl_easy_getinfo(probe, CURLINFO_CAINFO, &systemBundle);
            }
            if (systemBundle) {
                if (auto system = NSData::dataWithContentsOfFile(systemBundle)) {
                    bundle.assign(system->begin(), system->end());
                }
            }
            curl_easy_cleanup(probe);
            bundle += "\n";
            bundle.append(added->begin(), added->end());
        } else {
            NSLog("Cannot read the certificates in %@; trusting the system's alone", pemPath);
        }
    }
    TrustedCertificates& trusted = trustedCertificates();
    std::lock_guard lock(trusted.mutex);
    trusted.bundle = std::move(bundle);
}

void URLLoader::setMaximumBodySize(size_t bytes) {
    maximumBodySizeSetting() = bytes;
}

size_t URLLoader::maximumBodySize() {
    return maximumBodySizeSetting();
}

void URLLoader::setLoopbackOnly(bool loopbackOnly) {
    loopbackOnlySetting() = loopbackOnly;
}

void URLLoader::run() {
    for (;;) {
        std::vector<std::unique_ptr<Transfer>> started;
        std::vector<uint64_t> cancelled;
        bool stopping = false;
        {
            std::lock_guard lock(mutex_);
            started.swap(incoming_);
            cancelled.swap(cancellations_);
            stopping = stopping_;
        }
        for (auto& transfer : started) {
            start(std::move(transfer));
        }
        for (uint64_t id : cancelled) {
            if (auto found = active_.find(id); found != active_.end()) {
                finish(id, NSURLErrorWithCode(NSURLErrorCancelled, found->second->urlString()));
            }
        }
        if (stopping) {
            while (!active_.empty()) {
                const auto& [id, transfer] = *active_.begin();
                finish(id, NSURLErrorWithCode(NSURLErrorCancelled, transfer->urlString()));
            }
            return;
        }

        int running = 0;
        curl_multi_perform(multi_, &running);
        int left = 0;
        while (CURLMsg* message = curl_multi_info_read(multi_, &left)) {
            if (message->msg != CURLMSG_DONE) {
                continue;
            }
            CURLcode result = message->data.result;
            Transfer* transfer = nullptr;
            curl_easy_getinfo(message->easy_handle, CURLINFO_PRIVATE, &transfer);
            finish(transfer->id, result == CURLE_OK ? nullptr : transfer->errorFor(result));
        }

        long wait = 1000;
        long curlWait = -1;
        curl_multi_timeout(multi_, &curlWait);
        if (curlWait >= 0) {
            wait = std::min(wait, curlWait);
        }
        wait = expireIdleTransfers(wait);
        curl_multi_poll(multi_, nullptr, 0, static_cast<int>(wait), nullptr);
    }
}

void URLLoader::start(std::unique_ptr<Transfer> transfer) {
    uint64_t id = transfer->id;
    std::shared_ptr<NSError> setupError = transfer->setupError;
    if (!setupError && curl_multi_add_handle(multi_, transfer->easy) != CURLM_OK) {
        setupError = NSURLErrorWithCode(NSURLErrorUnknown, transfer->urlString());
    }
    if (setupError) {
        transfer->completion(nullptr, std::nullopt, setupError);
        return;
    }
    transfer->lastActivity = SteadyClock::now();
    active_.emplace(id, std::move(transfer));
}

void URLLoader::finish(uint64_t id, std::shared_ptr<NSError> error) {
    auto found = active_.find(id);
    std::unique_ptr<Transfer> transfer = std::move(found->second);
    active_.erase(found);
    curl_multi_remove_handle(multi_, transfer->easy);
    if (error) {
        // A connection lost after its status line still hands on that response, as the
        // platform does, so that a client tells a body broken off from no answer at all.
        const bool brokenOff =
            transfer->statusCode() != 0 && error->code() == NSURLErrorNetworkConnectionLost;
        transfer->completion(brokenOff ? transfer->response() : nullptr, std::nullopt,
                             std::move(error));
    } else {
        std::shared_ptr<NSHTTPURLResponse> response = transfer->response();
        transfer->completion(response, std::move(transfer->body), nullptr);
    }
}

long URLLoader::expireIdleTransfers(long limit) {
    SteadyClock::time_point now = SteadyClock::now();
    std::vector<uint64_t> expired;
    for (const auto& [id, transfer] : active_) {
        auto deadline =
            transfer->lastActivity + std::chrono::duration_cast<SteadyClock::duration>(
                                         std::chrono::duration<double>(transfer->timeout));
        if (deadline <= now) {
            expired.push_back(id);
        } else {
            auto remaining =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now).count() + 1;
            limit = std::min<long>(limit, remaining);
        }
    }
    for (uint64_t id : expired) {
        finish(id, NSURLErrorWithCode(NSURLErrorTimedOut, active_.at(id)->urlString()));
    }
    return limit;
}
