#include "platform/foundation/NSLocale.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

namespace {

// Sets the locale variables for one test and puts the old ones back after it.
class NSLocaleTest : public testing::Test {
protected:
    static constexpr const char* kVariables[] = {"LC_ALL", "LC_MESSAGES", "LANG", "LANGUAGE"};

    void SetUp() override {
        for (const char* name : kVariables) {
            const char* value = std::getenv(name);
            saved_.push_back(value ? std::optional<std::string>(value) : std::nullopt);
            ::unsetenv(name);
        }
        NSLocale::clearOverride();
    }
    void TearDown() override {
        for (size_t i = 0; i < saved_.size(); ++i) {
            if (saved_[i]) {
                ::setenv(kVariables[i], saved_[i]->c_str(), 1);
            } else {
                ::unsetenv(kVariables[i]);
            }
        }
        NSLocale::clearOverride();
    }

private:
    std::vector<std::optional<std::string>> saved_;
};

TEST_F(NSLocaleTest, ReadsTheEnvironment) {
    using Languages = std::vector<std::string>;
    struct Case {
        const char* lcAll;
        const char* lcMessages;
        const char* lang;
        const char* language;
        const char* identifier;
        Languages languages;
    };
    const Case cases[] = {
        {"", "", "de_DE.UTF-8", "", "de_DE", {"de-DE"}},
        {"", "", "de_DE.UTF-8", "de:en", "de_DE", {"de", "en"}},
        {"", "", "fr_FR@euro", "pt_BR:", "fr_FR", {"pt-BR"}},
        {"", "it_IT.UTF-8", "de_DE.UTF-8", "", "it_IT", {"it-IT"}},
        {"ja_JP.UTF-8", "it_IT.UTF-8", "de_DE.UTF-8", "", "ja_JP", {"ja-JP"}},
        {"", "", "zh_Hans_CN", "", "zh_Hans_CN", {"zh-Hans-CN"}},
        {"", "", "C", "de", "en_US", {"en-US"}},
        {"POSIX", "", "de_DE", "", "en_US", {"en-US"}},
        {"", "", "", "", "en_US", {"en-US"}},
        {"", "", "C.UTF-8", "", "en_US", {"en-US"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.lcAll) + "|" + c.lcMessages + "|" + c.lang + "|" + c.language);
        ::setenv("LC_ALL", c.lcAll, 1);
        ::setenv("LC_MESSAGES", c.lcMessages, 1);
        ::setenv("LANG", c.lang, 1);
        ::setenv("LANGUAGE", c.language, 1);
        EXPECT_EQ(NSLocale::currentLocale()->localeIdentifier(), c.identifier);
        EXPECT_EQ(NSLocale::preferredLanguages(), c.languages);
    }
}

TEST_F(NSLocaleTest, SplitsTheIdentifier) {
    struct Case {
        const char* identifier;
        const char* language;
        const char* script;
        const char* country;
    };
    const Case cases[] = {
        {"en_US", "en", "", "US"},
        {"zh_Hans_CN", "zh", "Hans", "CN"},
        {"de", "de", "", ""},
        {"sr_Latn", "sr", "Latn", ""},
    };
    for (const auto& c : cases) {
        NSLocale::setOverride(c.identifier, {});
        auto locale = NSLocale::currentLocale();
        EXPECT_EQ(locale->languageCode(), c.language) << c.identifier;
        EXPECT_EQ(locale->scriptCode(), c.script) << c.identifier;
        EXPECT_EQ(locale->countryCode(), c.country) << c.identifier;
    }
}

TEST_F(NSLocaleTest, OverrideWinsUntilCleared) {
    ::setenv("LANG", "de_DE.UTF-8", 1);
    NSLocale::setOverride("fr_CA", {"fr-CA", "en"});
    EXPECT_EQ(NSLocale::currentLocale()->localeIdentifier(), "fr_CA");
    EXPECT_EQ(NSLocale::preferredLanguages(), (std::vector<std::string>{"fr-CA", "en"}));
    NSLocale::clearOverride();
    EXPECT_EQ(NSLocale::currentLocale()->localeIdentifier(), "de_DE");
}

} // namespace
