// Runs URL loads on one background thread: a curl multi handle driven by a loop that takes
// new loads and cancellations from any thread. Each load completes exactly once, on that
// thread, with the response and the body, or with an NSURLErrorDomain error (and, for a
// connection lost after the status line, that response). A load keeps
// the global thread pool marked busy until it completed, so that whoever waits for the
// pool to go idle (a test's task environment) waits for the load's result too.
//
// HTTP and HTTPS only; redirects are followed (up to maximumRedirects) unless the load asks
// to see each one, proxies from the environment are ignored, certificates are checked
// against the system's authorities and the host name. A load fails as timed out when no data moved
// for the request's timeout interval, measured in real time (network waits are real even under a
// mock clock).
#pragma once

#include "platform/dispatch/GlobalThreadPool.h"
#include "platform/foundation/NSError.h"
#include "platform/foundation/NSURLRequest.h"
#include "platform/foundation/NSURLResponse.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

typedef void CURLM;

class URLLoader {
public:
    using Completion =
        std::function<void(std::shared_ptr<NSURLResponse>, std::optional<std::vector<uint8_t>>,
                           std::shared_ptr<NSError>)>;
    // Told on the loader's thread when a response's headers are in, before its body.
    using ResponseArrival = std::function<void(std::shared_ptr<NSURLResponse>)>;

    // A larger body fails the load with NSURLErrorDataLengthExceedsMaximum, unless
    // setMaximumBodySize said otherwise.
    static constexpr size_t kDefaultMaximumBodySize = size_t{64} << 20;
    static constexpr long maximumRedirects = 16;

    URLLoader();
    // Loads still running complete as cancelled, then the thread ends.
    ~URLLoader();
    URLLoader(const URLLoader&) = delete;
    URLLoader& operator=(const URLLoader&) = delete;

    // Follow: the load ends at the last answer of a redirect chain. Report: a redirect's
    // answer ends the load, for a caller that follows (or refuses) each hop itself.
    enum class Redirects { Follow, Report };

    // Starts loading the request as it is now; later changes to it do not reach the load.
    // Returns the id that cancel() takes. `arrival`, when given, hears each response
    // (not an interim 1xx one) as soon as its headers are in; the completion still comes.
    uint64_t load(const std::shared_ptr<NSURLRequest>& request, Completion completion,
                  Redirects redirects = Redirects::Follow, ResponseArrival arrival = nullptr);
    // Ends the load with NSURLErrorCancelled unless it has completed already.
    void cancel(uint64_t id);

    // Trusts the certificates of a PEM file besides the system's authorities, for loads
    // started afterwards; an empty path, or a file that cannot be read (logged), goes back
    // to the system's alone.
    static void setAdditionalTrustedCertificatesFile(const std::string& pemPath);
    // The largest body a load accepts, for loads started afterwards (all loaders).
    static void setMaximumBodySize(size_t bytes);
    static size_t maximumBodySize();
    // When on, loads started afterwards to any host but this machine's (localhost,
    // 127.x.x.x, ::1) fail at once with NSURLErrorCannotFindHost, as on a machine without a
    // network, and no name is resolved (tests: nothing leaves the machine).
    static void setLoopbackOnly(bool loopbackOnly);

private:
    struct Transfer;

    void run();
    void start(std::unique_ptr<Transfer> transfer);
    // Takes the transfer out of the multi handle and calls its completion: with the
    // response when `error` is null, else with the error.
    void finish(uint64_t id, std::shared_ptr<NSError> error);
    // Fails the transfers idle for longer than their timeout; returns the milliseconds
    // until the next one would be, at most `limit`.
    long expireIdleTransfers(long limit);

    CURLM* multi_;
    std::mutex mutex_;
    std::vector<std::unique_ptr<Transfer>> incoming_;
    std::vector<uint64_t> cancellations_;
    uint64_t nextId_ = 1;
    bool stopping_ = false;
    // The loader's thread alone touches these.
    std::map<uint64_t, std::unique_ptr<Transfer>> active_;
    std::thread thread_;
};
