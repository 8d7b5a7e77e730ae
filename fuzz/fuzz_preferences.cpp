// Feeds arbitrary bytes to the preferences parser. Whatever it accepts must write back to a
// text that it accepts again without a remark, that reads back to the same preferences and
// that writes again byte for byte the same (keys it does not know included).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "model/UserPreferences.h"

namespace {

void check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "preferences invariant broken: %s\n", what);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tessimo::UserPreferences prefs;
    const auto first = prefs.fromText(std::string_view(reinterpret_cast<const char*>(data), size));
    if (first.outcome != tessimo::PreferencesLoad::Outcome::Loaded) {
        check(prefs.values() == tessimo::PreferenceValues{}, "a refused text changes nothing");
        return 0;
    }
    const std::string text = prefs.toText();
    check(text.size() <= tessimo::UserPreferences::MaxFileSize, "what is written can be read");
    tessimo::UserPreferences again;
    const auto second = again.fromText(text);
    check(second.outcome == tessimo::PreferencesLoad::Outcome::Loaded, "a written text loads");
    check(second.message.empty(), "a written text loads without remarks");
    check(again.values() == prefs.values(), "write then read gives the same preferences");
    check(again.toText() == text, "a second write gives the same bytes");
    return 0;
}
