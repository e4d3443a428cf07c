// One ad fetched and classified by the engine, against our ad server in-process on
// loopback: from the fetcher's start with an ad URL of the default unit (as the core page
// gives it) to the classified record reaching its delegate on the main thread, through
// the engine's URL connection, its loading thread and the header processing. Side by side
// with the anchor: a plain libcurl GET of the same URL and encodings, blocking, on its own
// handle.
// Wall-clock times; "vsCurl" is our time over the anchor's.
#include "BundledAdServer.h"
#include "PlainWebKitView.h"
#include "SideBySide.h"
#include "ads/core/ZADAd.h"
#include "ads/core/ZADAdFetcher.h"
#include "ads/core/ZADAdFetcherDelegate.h"
#include "adserver/AdServer.h"
#include "platform/base/NSRunLoop.h"
#include "platform/foundation/NSURL.h"

#include <benchmark/benchmark.h>
#include <curl/curl.h>

namespace {

class ClassifiedAd : public ZADAdFetcherDelegate {
public:
    void adFetcherDidFetchAd(ZADAdFetcher&, const std::shared_ptr<ZADAd>& ad) override {
        fetched = ad->responseType() == ZADAd::HTML && !ad->adHTML().empty();
        done = true;
    }
    void adFetcherDidFailToFetchAdWithErrorResponseCode(ZADAdFetcher&,
                                                        const std::shared_ptr<ZADAd>&,
                                                        const std::shared_ptr<NSError>&,
                                                        long) override {
        fetched = false;
        done = true;
    }

    bool done = false;
    bool fetched = false;
};

size_t keepBody(char* data, size_t size, size_t count, void* body) {
    static_cast<std::string*>(body)->append(data, size * count);
    return size * count;
}

void BM_AdFetchClassified(benchmark::State& state) {
    const auto server = startBundledAdServer(state);
    if (!server) {
        return;
    }
    NSRunLoop::mainRunLoop();
    const std::string url = server->baseURL() + AdServer::kAdPath + "?slotname=default";
    auto delegate = std::make_shared<ClassifiedAd>();
    bool allFetched = true;
    std::string body;
    state.counters["vsCurl"] = timeSideBySide(
        state,
        [&] {
            *delegate = ClassifiedAd();
            auto ad = ZADAd::init();
            ad->setAdURL(NSURL::URLWithString(url));
            auto fetcher = ZADAdFetcher::init();
            fetcher->fetchRemainingContentForAdHeadersDelegateError(ad, std::nullopt, delegate,
                                                                    nullptr);
            PlainWebKitView::turnMainContextUntil(delegate->done);
            allFetched = allFetched && delegate->fetched;
        },
        [&] {
            body.clear();
            CURL* easy = curl_easy_init();
            curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
            // The same request as the engine's: compressed answers accepted, so the server
            // does the same work for both.
            curl_easy_setopt(easy, CURLOPT_ACCEPT_ENCODING, "");
            curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, keepBody);
            curl_easy_setopt(easy, CURLOPT_WRITEDATA, &body);
            curl_easy_perform(easy);
            curl_easy_cleanup(easy);
        });
    if (!allFetched || body.empty()) {
        state.SkipWithError("a fetch gave no ad");
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_AdFetchClassified)->Unit(benchmark::kMillisecond)->MinTime(2)->UseRealTime();

} // namespace
