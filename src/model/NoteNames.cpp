#include "model/NoteNames.h"

#include "model/Pitch.h"

namespace tessimo {

const std::array<std::array<const char*, 12>, NamingConventionCount> NoteNameTable = {{
    {"DO", "DO#", "RE", "RE#", "MI", "FA", "FA#", "SOL", "SOL#", "LA", "LA#", "SI"},
    {"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"},
    {"c", "c is", "d", "d is", "e", "f", "f is", "g", "g is", "a", "a is", "h"},
}};

const char* noteName(int pitch, int convention) {
    return NoteNameTable[convention][pitchClass(pitch)];
}

const char* sharpSign(int convention) {
    return convention == German ? "is" : "#";
}

} // namespace tessimo
