// Building and reading URL queries the way the ad server writes them, and the small URL
// comparisons the engine makes.
#pragma once

#include "platform/foundation/PlistValue.h"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class NSURL;

namespace ZADNSURLUtilities {

// The URL with `parameters` added to its query, in the dictionary's order: names as they
// are, values' descriptions escaped (zad_stringByEscapingAsURLParameter), a bare name for
// a value that escapes to nothing. They go before an "&adurl=" in the URL, which must stay
// last (the ad server reads everything after it as the landing URL). Null when the result
// is not a valid URL.
std::shared_ptr<NSURL> zad_URLByAppendingQueryParameters(const NSURL& url,
                                                         const PlistValue::Dictionary& parameters);

// Every value of `name` in the query (split at "&" only), in order, percent-decoded; a
// piece counts only as exactly one name, "=" and value, and a value that does not decode
// as UTF-8 is left out. Nothing when there is none.
std::optional<std::vector<std::string>> zad_parameterValuesForKey(const NSURL& url,
                                                                  const std::string& name);
// The first of those.
std::optional<std::string> zad_parameterValueForKey(const NSURL& url, const std::string& name);

// The query (split at "&" and ";") as decoded names to decoded values, names lower-cased
// when asked; later pieces replace earlier ones, pieces that are not one name, "=" and
// value, or do not decode, are dropped. Links without "//host" (mail and message links)
// have their query read too. Empty when there is no query.
std::map<std::string, std::string>
zad_dictionaryFromQueryParametersAndConvertKeysToLowercase(const NSURL& url, bool lowercase);

// Of the path /a/b/c/d the text b/c: the second and third segments; nothing when the path
// has fewer than three.
std::optional<std::string> zad_impressionTicket(const NSURL& url);

// The URL's text without "#" and the fragment.
std::string zad_absoluteStringWithoutFragmentComponent(const NSURL& url);

// Exact, or ASCII case-insensitive when `caseSensitive` is false; a URL without a host
// (scheme) equals no text.
bool zad_isHostEqualToStringCaseSensitive(const NSURL& url, const std::string& host,
                                          bool caseSensitive);
bool zad_isSchemeEqualToStringCaseSensitive(const NSURL& url, const std::string& scheme,
                                            bool caseSensitive);

} // namespace ZADNSURLUtilities
