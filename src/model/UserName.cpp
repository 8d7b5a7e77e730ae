#include "model/UserName.h"

namespace tessimo {

namespace {

// Length of the UTF-8 sequence starting at s[i], or 0 when it is not well formed
// (overlong forms, surrogates and code points past U+10FFFF are refused); its code point goes
// to decoded.
std::size_t utf8SequenceLength(std::string_view s, std::size_t i, unsigned& decoded) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char lead = byte(i);
    std::size_t length = 0;
    unsigned min = 0;
    unsigned codePoint = 0;
    if (lead < 0x80) {
        decoded = lead;
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
    decoded = codePoint;
    return length;
}

// Characters that show nothing, or that reorder the text around them, so that a name holding
// them looks like another name: zero-width spaces and joiners, the soft hyphen, invisible
// operators, the byte-order mark, and the marks, embeddings, overrides and isolates of
// bidirectional text.
bool isInvisible(unsigned c) {
    return c == 0x00AD || c == 0x061C || c == 0x180E || (c >= 0x200B && c <= 0x200F) ||
           (c >= 0x202A && c <= 0x202E) || (c >= 0x2060 && c <= 0x2069) || c == 0xFEFF;
}

bool isSpace(unsigned c) {
    return c == 0x20 || c == 0xA0 || c == 0x1680 || (c >= 0x2000 && c <= 0x200A) || c == 0x202F ||
           c == 0x205F || c == 0x3000;
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
    bool onlySpaces = true;
    bool invisible = false;
    for (std::size_t i = 0; i < name.size();) {
        unsigned c = 0;
        const std::size_t length = utf8SequenceLength(name, i, c);
        if (length == 0) {
            return UserNameProblem::NotText;
        }
        if (c >= 0x80 && c < 0xA0) {
            return UserNameProblem::ControlCharacter; // the C1 controls
        }
        invisible = invisible || isInvisible(c);
        onlySpaces = onlySpaces && isSpace(c);
        i += length;
    }
    if (invisible) {
        return UserNameProblem::Invisible;
    }
    if (onlySpaces && !name.empty()) {
        return UserNameProblem::OnlySpaces;
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
    case UserNameProblem::OnlySpaces:
        return "A user name cannot be made only of spaces.";
    case UserNameProblem::Invisible:
        return "A user name cannot contain invisible characters (zero-width spaces or joiners, "
               "or marks that change the direction of the text).";
    }
    return "";
}

} // namespace tessimo
