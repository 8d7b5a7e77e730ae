#include "model/UserName.h"

namespace tessimo {

namespace {

// Length of the UTF-8 sequence starting at s[i], or 0 when it is not well formed
// (overlong forms, surrogates and code points past U+10FFFF are refused).
std::size_t utf8SequenceLength(std::string_view s, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char lead = byte(i);
    std::size_t length = 0;
    unsigned min = 0;
    unsigned codePoint = 0;
    if (lead < 0x80) {
        return 1;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2;
        min = 0x80;
        codePoint = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        min = 0x800;
        codePoint = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        min = 0x10000;
        codePoint = lead & 0x07;
    } else {
        return 0;
    }
    if (i + length > s.size()) {
        return 0;
    }
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) {
            return 0;
        }
        codePoint = (codePoint << 6) | (byte(i + k) & 0x3F);
    }
    if (codePoint < min || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
        return 0;
    }
    return length;
}

} // namespace

UserNameProblem checkUserName(std::string_view name) {
    if (name.size() > MaxUserNameLength) {
        return UserNameProblem::TooLong;
    }
    if (name == "." || name == "..") {
        return UserNameProblem::DotName;
    }
    for (const char c : name) {
        if (c == '/' || c == '\\') {
            return UserNameProblem::PathSeparator;
        }
    }
    for (const char c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F) {
            return UserNameProblem::ControlCharacter;
        }
    }
    for (std::size_t i = 0; i < name.size();) {
        const std::size_t length = utf8SequenceLength(name, i);
        if (length == 0) {
            return UserNameProblem::NotText;
        }
        // C1 control characters U+0080..U+009F are encoded as C2 80..C2 9F.
        if (length == 2 && static_cast<unsigned char>(name[i]) == 0xC2 &&
            static_cast<unsigned char>(name[i + 1]) < 0xA0) {
            return UserNameProblem::ControlCharacter;
        }
        i += length;
    }
    return UserNameProblem::None;
}

const char* describeUserNameProblem(UserNameProblem problem) {
    switch (problem) {
    case UserNameProblem::None:
        return "";
    case UserNameProblem::TooLong:
        return "This name is too long: a user name can have at most 501 letters (fewer with "
               "accents).";
    case UserNameProblem::PathSeparator:
        return "A user name cannot contain \"/\" or \"\\\".";
    case UserNameProblem::ControlCharacter:
        return "A user name cannot contain tabs, line breaks or other control characters.";
    case UserNameProblem::DotName:
        return "\".\" and \"..\" cannot be used as user names.";
    case UserNameProblem::NotText:
        return "This name contains characters that cannot be read as text.";
    }
    return "";
}

} // namespace tessimo
