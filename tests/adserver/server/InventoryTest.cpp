// The inventory's manifest: what it accepts, and a clear refusal, naming the fault, of
// whatever it cannot serve.
#include "adserver/Inventory.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

namespace {
// A small inventory whose manifest's units (and any other field) a case replaces.
std::string manifest(const std::string& units,
                     const std::string& banners = R"({"320x50": "b.html"})") {
    return R"({"banners": )" + banners + R"(, "interstitial": "i.html", "units": )" + units +
           R"(, "apps": [{"slug": "a", "name": "A", "tagline": "t"}]})";
}

class InventoryTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_.write("b.html", "banner");
        folder_.write("i.html", "interstitial");
        folder_.write("body.json", "{}");
    }
    ErrorOr<Inventory> load(const std::string& text) {
        folder_.write(Inventory::kManifestName, text);
        return Inventory::load(folder_.path());
    }

    TempFolder folder_;
};

TEST_F(InventoryTest, AManifestItCannotServeIsRefusedWithTheReason) {
    const struct {
        std::string manifest;
        const char* reason;
    } cases[] = {
        {"{not json", "is not a JSON object"},
        {manifest(R"({"other": {}})"), "holding \"default\""},
        {manifest(R"({"default": {}})", "{}"), "\"banners\""},
        {manifest(R"({"default": {}})", R"({"320x50": "missing.html"})"), "missing.html"},
        {manifest(R"({"default": {}})", R"({"320": "b.html"})"), "WxH"},
        {manifest(R"({"default": {}})", R"({"320x50": "../b.html"})"), "plain file names"},
        {manifest(R"({"default": {"status": 99}})"), "ad unit default: \"status\""},
        {manifest(R"({"default": {"status": "200"}})"), "\"status\""},
        {manifest(R"({"default": {"delay_ms": 600000}})"), "\"delay_ms\""},
        {manifest(R"({"default": {"redirects": 11}})"), "\"redirects\""},
        {manifest(R"({"default": {"headers": {"x-a": "one\r\nx-b: two"}}})"), "one-line texts"},
        {manifest(R"({"default": {"headers": {"x-a": 1}}})"), "one-line texts"},
        {manifest(R"({"default": {"body": "gone.json"}})"), "gone.json"},
        {manifest(R"({"default": {"body": "/etc/passwd"}})"), "\"body\""},
        {manifest(R"({"default": {"broken_off": "yes"}})"), "\"broken_off\""},
        {manifest(R"({"default": {"page": {"answer": "maybe"}}})"), "not: maybe"},
        {manifest(R"({"default": {"page": {"answer": "errors"}}})"), "\"errors\" text"},
        {manifest(R"({"default": {"page": {"answer": "fetched_ad", "fetched_ad": "x"}}})"),
         "\"fetched_ad\" object"},
        {manifest(R"({"default": {"page": {"answer": "url", "parameters": {"a": 1}}}})"),
         "a text for a"},
    };
    for (const auto& c : cases) {
        auto loaded = load(c.manifest);
        ASSERT_TRUE(loaded.hasError()) << c.manifest;
        EXPECT_NE(loaded.error()->localizedDescription().find(c.reason), std::string::npos)
            << loaded.error()->localizedDescription() << "\nwants: " << c.reason;
    }
    EXPECT_TRUE(Inventory::load(folder_.file("no-such-folder")).hasError());
}

TEST_F(InventoryTest, UnitsAreFoundByNameAndOthersGetTheDefault) {
    auto loaded = load(manifest(R"({"default": {}, "json": {"body": "body.json", "status": 201,
        "page": {"answer": "none"}}})"));
    ASSERT_FALSE(loaded.hasError()) << loaded.error()->localizedDescription();
    const auto& inventory = loaded.value();
    EXPECT_EQ(inventory.unitFor("json").status(), 201);
    EXPECT_EQ(inventory.file(*inventory.unitFor("json").bodyFile()), "{}");
    EXPECT_EQ(inventory.unitFor("unknown").name(), "default");
    EXPECT_FALSE(inventory.unitFor("").bodyFile());
    EXPECT_EQ(inventory.pageAnswers()["json"]["answer"], "none");
    EXPECT_EQ(inventory.pageAnswers()["default"]["answer"], "url");
    EXPECT_EQ(inventory.creative(inventory.sizeFor({})), "banner");
    EXPECT_EQ(inventory.creative(inventory.sizeFor({{"format", "interstitial_mb"}})),
              "interstitial");
    ASSERT_NE(inventory.app("a"), nullptr);
    EXPECT_EQ(inventory.app("b"), nullptr);
}
} // namespace
