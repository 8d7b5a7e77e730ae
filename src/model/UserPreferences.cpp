#include "model/UserPreferences.h"

#include <array>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <optional>
#include <unordered_map>

#include "files/SafeFileOpen.h"

namespace tessimo {

namespace {

constexpr std::string_view Header = "tessimo-preferences";

// One typed preference: its key, how its value is read (false: not understood) and written.
struct PreferenceKey {
    std::string_view key;
    bool (*parse)(PreferenceValues&, std::string_view);
    std::string (*format)(const PreferenceValues&);
};

// A device name that can be written and read back: not too long, no control characters.
bool isStorableDeviceName(std::string_view name) {
    if (name.size() > UserPreferences::MaxDeviceNameLength) {
        return false;
    }
    for (char c : name) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            return false;
        }
    }
    return true;
}

// A device name as written: quoted, so that spaces at either end survive; a name that could
// not be read back is written as the default, "".
std::string quotedDeviceName(const std::string& name) {
    return "\"" + (isStorableDeviceName(name) ? name : std::string()) + "\"";
}

// Refuses what quotedDeviceName could not write back (a carriage return or a tab inside the
// name, say), so that a name read is always the name the next save writes.
bool parseDeviceName(std::string& name, std::string_view text) {
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
        text = text.substr(1, text.size() - 2);
    }
    if (!isStorableDeviceName(text)) {
        return false;
    }
    name = std::string(text);
    return true;
}

constexpr std::array<PreferenceKey, 6> Keys{{
    {"recognize.input",
     [](PreferenceValues& v, std::string_view text) {
         if (text == "microphone") {
             v.recognizeInput = RecognizeInput::Microphone;
         } else if (text == "midi-keyboard") {
             v.recognizeInput = RecognizeInput::MidiKeyboard;
         } else {
             return false;
         }
         return true;
     },
     [](const PreferenceValues& v) {
         return std::string(v.recognizeInput == RecognizeInput::MidiKeyboard ? "midi-keyboard"
                                                                             : "microphone");
     }},
    {"recognition.path",
     [](PreferenceValues& v, std::string_view text) {
         if (text == "adaptive") {
             v.recognition = RecognitionChoice::Adaptive;
         } else if (text == "documented") {
             v.recognition = RecognitionChoice::Documented;
         } else {
             return false;
         }
         return true;
     },
     [](const PreferenceValues& v) {
         return std::string(v.recognition == RecognitionChoice::Documented ? "documented"
                                                                           : "adaptive");
     }},
    {"practice.weak-spots",
     [](PreferenceValues& v, std::string_view text) {
         if (text != "on" && text != "off") {
             return false;
         }
         v.weakSpotPractice = text == "on";
         return true;
     },
     [](const PreferenceValues& v) { return std::string(v.weakSpotPractice ? "on" : "off"); }},
    {"sound.output",
     [](PreferenceValues& v, std::string_view text) {
         return parseDeviceName(v.outputDevice, text);
     },
     [](const PreferenceValues& v) { return quotedDeviceName(v.outputDevice); }},
    {"sound.input",
     [](PreferenceValues& v, std::string_view text) {
         return parseDeviceName(v.inputDevice, text);
     },
     [](const PreferenceValues& v) { return quotedDeviceName(v.inputDevice); }},
    {"sound.volume",
     [](PreferenceValues& v, std::string_view text) {
         int percent = 0;
         const auto parsed = std::from_chars(text.data(), text.data() + text.size(), percent);
         if (text.empty() || parsed.ec != std::errc{} || parsed.ptr != text.data() + text.size() ||
             percent < 0 || percent > 100) {
             return false;
         }
         v.volumePercent = percent;
         return true;
     },
     [](const PreferenceValues& v) { return std::to_string(v.volumePercent); }},
}};

const PreferenceKey* findKey(std::string_view key) {
    for (const PreferenceKey& k : Keys) {
        if (k.key == key) {
            return &k;
        }
    }
    return nullptr;
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) {
        s.remove_prefix(1);
    }
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) {
        s.remove_suffix(1);
    }
    return s;
}

bool isKeyCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '_';
}

// Well-formed UTF-8 without control characters other than tab, carriage return and line
// feed. Returns the offset of the first bad byte, or nothing.
std::optional<std::size_t> firstBadByte(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            if ((c < 0x20 && c != '\t' && c != '\n' && c != '\r') || c == 0x7F) {
                return i;
            }
            ++i;
            continue;
        }
        std::size_t length = 0;
        std::uint32_t lowest = 0;
        if ((c & 0xE0) == 0xC0) {
            length = 2;
            lowest = 0x80;
        } else if ((c & 0xF0) == 0xE0) {
            length = 3;
            lowest = 0x800;
        } else if ((c & 0xF8) == 0xF0) {
            length = 4;
            lowest = 0x10000;
        } else {
            return i;
        }
        if (i + length > text.size()) {
            return i;
        }
        std::uint32_t code = c & (0xFF >> (length + 1));
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) {
                return i;
            }
            code = (code << 6) | (next & 0x3F);
        }
        if (code < lowest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
            return i; // overlong, beyond Unicode, or a surrogate
        }
        i += length;
    }
    return std::nullopt;
}

// subject names the file ("The preferences file prefsAnna.ini"); why follows it.
PreferencesLoad refused(std::string_view subject, const std::string& why) {
    return {PreferencesLoad::Outcome::Refused, std::string(subject) + " " + why + "."};
}

} // namespace

PreferencesLoad UserPreferences::fromText(std::string_view text) {
    return parse(text, "The preferences file");
}

PreferencesLoad UserPreferences::parse(std::string_view text, std::string_view subject) {
    if (text.size() > MaxFileSize) {
        return refused(subject, "is larger than a preferences file can be");
    }
    if (const auto bad = firstBadByte(text)) {
        return refused(subject,
                       "holds bytes that are not text (at byte " + std::to_string(*bad) + ")");
    }

    PreferenceValues values;
    int version = 0;
    std::vector<std::pair<std::string, std::string>> unknown;
    std::unordered_map<std::string, std::size_t> unknownIndex; // key -> place in unknown
    std::string notes;
    int lineNumber = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view raw = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        ++lineNumber;
        if (raw.size() > MaxLineLength) {
            return refused(subject,
                           "has a line that is too long (line " + std::to_string(lineNumber) + ")");
        }
        const std::string_view line = trim(raw);

        if (lineNumber == 1) {
            const std::string_view rest =
                line.substr(0, Header.size()) == Header ? trim(line.substr(Header.size())) : "";
            const auto parsed = std::from_chars(rest.data(), rest.data() + rest.size(), version);
            if (rest.empty() || parsed.ec != std::errc{} ||
                parsed.ptr != rest.data() + rest.size() || version < 1) {
                return refused(subject, "is not a Tessimo preferences file");
            }
            continue;
        }
        if (line.empty() || line.front() == '#') {
            continue;
        }
        const std::size_t equals = line.find('=');
        const std::string_view key = trim(line.substr(0, equals));
        bool keyOk = equals != std::string_view::npos && !key.empty();
        for (char c : key) {
            keyOk = keyOk && isKeyCharacter(c);
        }
        if (!keyOk) {
            return refused(subject, "has a line that is not \"key = value\" (line " +
                                        std::to_string(lineNumber) + ")");
        }
        const std::string_view value = trim(line.substr(equals + 1));
        if (const PreferenceKey* known = findKey(key)) {
            if (!known->parse(values, value)) {
                // Not understood: the default stands, and the next save writes it.
                PreferenceValues defaults;
                known->parse(values, known->format(defaults));
                notes += "The preference " + std::string(key) + " = \"" + std::string(value) +
                         "\" is not understood; the default is used. ";
            }
            continue;
        }
        const auto [at, added] = unknownIndex.try_emplace(std::string(key), unknown.size());
        if (added) {
            unknown.emplace_back(key, value);
        } else {
            unknown[at->second].second = value; // a repeated key: the later value wins
        }
    }
    if (version == 0) {
        return refused(subject, "is not a Tessimo preferences file");
    }
    if (!notes.empty()) {
        notes.pop_back();
    }

    UserPreferences loaded;
    loaded.values_ = values;
    loaded.version_ = version > FormatVersion ? version : FormatVersion;
    loaded.unknown_ = std::move(unknown);
    if (loaded.toText().size() > MaxFileSize) {
        // Written back it would be refused on the next start.
        return refused(subject, "holds more entries than a preferences file can");
    }
    *this = std::move(loaded);
    return {PreferencesLoad::Outcome::Loaded, notes};
}

std::string UserPreferences::toText() const {
    std::string text = std::string(Header) + " " + std::to_string(version_) + "\n";
    for (const PreferenceKey& key : Keys) {
        text += std::string(key.key) + " = " + key.format(values_) + "\n";
    }
    for (const auto& [key, value] : unknown_) {
        text += key + " = " + value + "\n";
    }
    return text;
}

PreferencesLoad UserPreferences::load(const std::string& path) {
    const ReadOpenResult file = openRegularFileForReading(path);
    if (!file.opened()) {
        if (file.kind == FileKind::Missing) {
            return {PreferencesLoad::Outcome::Missing, ""};
        }
        return {PreferencesLoad::Outcome::Unreadable,
                "The preferences file " + path + " " + describeReadFailure(file.kind, file.error) +
                    "; the defaults are used."};
    }
    if (file.size > MaxFileSize) {
        return refused("The preferences file " + path, "is larger than a preferences file can be");
    }
    std::string bytes(MaxFileSize + 1, '\0');
    const long read =
        readUpTo(file.file.fd(), reinterpret_cast<std::uint8_t*>(bytes.data()), bytes.size());
    if (read < 0) {
        return {PreferencesLoad::Outcome::Unreadable,
                "The preferences file " + path + " " +
                    describeReadFailure(FileKind::Regular, errno) + "; the defaults are used."};
    }
    bytes.resize(static_cast<std::size_t>(read));
    PreferencesLoad result = parse(bytes, "The preferences file " + path);
    if (result.outcome == PreferencesLoad::Outcome::Refused) {
        result.message += " The defaults are used.";
    }
    return result;
}

FileWriteResult UserPreferences::save(const std::string& path) const {
    const std::string text = toText();
    return writeFileAtomically(
        path, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

std::string preferencesFileName(const std::string& userName) {
    return "prefs" + userName + ".ini";
}

} // namespace tessimo
