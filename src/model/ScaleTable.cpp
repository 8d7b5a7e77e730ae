#include "model/ScaleTable.h"

#include "model/Pitch.h"

namespace tessimo {

const std::array<ScaleRow, ScaleCount> ScaleTable = {{
    {{"DO  Maj", "C Maj", "c Maj"}, {1, 0, 1, 0, 1, 1, 0, 1, 0, 1, 0, 1}},             // 0
    {{"DO# Maj", "C# Maj", "c is Maj"}, {1, 1, 0, 1, 0, 1, 1, 0, 1, 0, 1, 0}},         // 1
    {{"RE  Maj", "D  Maj", "d    Maj"}, {0, 1, 1, 0, 1, 0, 1, 1, 0, 1, 0, 1}},         // 2
    {{"RE# Maj", "D# Maj", "d is Maj"}, {1, 0, 1, 1, 0, 1, 0, 1, 1, 0, 1, 0}},         // 3
    {{"MI  Maj", "E  Maj", "e    Maj"}, {0, 1, 0, 1, 1, 0, 1, 0, 1, 1, 0, 1}},         // 4
    {{"FA  Maj", "F  Maj", "f    Maj"}, {1, 0, 1, 0, 1, 1, 0, 1, 0, 1, 1, 0}},         // 5
    {{"FA# Maj", "F# Maj", "f is Maj"}, {0, 1, 0, 1, 0, 1, 1, 0, 1, 0, 1, 1}},         // 6
    {{"SOL Maj", "G  Maj", "g    Maj"}, {1, 0, 1, 0, 1, 0, 1, 1, 0, 1, 0, 1}},         // 7
    {{"SOL#Maj", "G# Maj", "g is Maj"}, {1, 1, 0, 1, 0, 1, 0, 1, 1, 0, 1, 0}},         // 8
    {{"LA  Maj", "A  Maj", "a    Maj"}, {0, 1, 1, 0, 1, 0, 1, 0, 1, 1, 0, 1}},         // 9
    {{"LA# Maj", "A# Maj", "a is Maj"}, {1, 0, 1, 1, 0, 1, 0, 1, 0, 1, 1, 0}},         // 10
    {{"SI  Maj", "B  Maj", "h    Maj"}, {0, 1, 0, 1, 1, 0, 1, 0, 1, 0, 1, 1}},         // 11
    {{"DO  min", "C min", "c min"}, {1, 0, 1, 1, 0, 1, 0, 1, 1, 0, 0, 1}},             // 12
    {{"DO# min", "C# min", "c is min"}, {1, 1, 0, 1, 1, 0, 1, 0, 1, 1, 0, 0}},         // 13
    {{"RE  min", "D  min", "d    min"}, {0, 1, 1, 0, 1, 1, 0, 1, 0, 1, 1, 0}},         // 14
    {{"RE# min", "D# min", "d is min"}, {0, 0, 1, 1, 0, 1, 1, 0, 1, 0, 1, 1}},         // 15
    {{"MI  min", "E  min", "e    min"}, {1, 0, 0, 1, 1, 0, 1, 1, 0, 1, 0, 1}},         // 16
    {{"FA  min", "F  min", "f    min"}, {1, 1, 0, 0, 1, 1, 0, 1, 1, 0, 1, 0}},         // 17
    {{"FA# min", "F# min", "f is min"}, {0, 1, 1, 0, 0, 1, 1, 0, 1, 1, 0, 1}},         // 18
    {{"SOL min", "G  min", "g    min"}, {1, 0, 1, 1, 0, 0, 1, 1, 0, 1, 1, 0}},         // 19
    {{"SOL#min", "G# min", "g is min"}, {0, 1, 0, 1, 1, 0, 0, 1, 1, 0, 1, 1}},         // 20
    {{"LA  min", "A  min", "a    min"}, {1, 0, 1, 0, 1, 1, 0, 0, 1, 1, 0, 1}},         // 21
    {{"LA# min", "A# min", "a is min"}, {1, 1, 0, 1, 0, 1, 1, 0, 0, 1, 1, 0}},         // 22
    {{"SI  min", "B  min", "h    min"}, {0, 1, 1, 0, 1, 0, 1, 1, 0, 0, 1, 1}},         // 23
    {{"Chromatique", "Chromatic", "Chromatic"}, {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}}, // 24
}};

const char* scaleName(int row, int convention) {
    return ScaleTable[row].names[convention];
}

bool isInScale(int row, int pitch) {
    return ScaleTable[row].flags[pitchClass(pitch)] != 0;
}

void preselectFromScale(int row, std::array<std::int32_t, 48>& notes,
                        const std::array<bool, 48>& enabled) {
    for (int k = 0; k < PitchCount; ++k) {
        if (enabled[k]) {
            notes[k] = ScaleTable[row].flags[k % PitchesPerOctave];
        }
    }
}

} // namespace tessimo
