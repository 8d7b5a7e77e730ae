#include "sound/InstrumentTable.h"

namespace tessimo {

const std::array<InstrumentRow, InstrumentCount> InstrumentTable = {{
    {"Acoustic Grand Piano", true},    // 0
    {"Bright Acoustic Piano", true},   // 1
    {"Electric Grand Piano", true},    // 2
    {"Honky-tonk Piano", true},        // 3
    {"Electric Piano 1", true},        // 4
    {"Electric Piano 2", true},        // 5
    {"Harpsichord", true},             // 6
    {"Clavinette", true},              // 7
    {"Celesta", true},                 // 8
    {"Glockenspiel", true},            // 9
    {"Music Box", true},               // 10
    {"Vibraphone", true},              // 11
    {"Marimba", true},                 // 12
    {"Xylophone", true},               // 13
    {"Tubular Bells", true},           // 14
    {"Dulcimer", true},                // 15
    {"Drawbar Organ", false},          // 16
    {"Percussive Organ", false},       // 17
    {"Rock Organ", false},             // 18
    {"Church Organ", false},           // 19
    {"Reed Organ", false},             // 20
    {"Accordion", false},              // 21
    {"Harmonica", false},              // 22
    {"Tango Accordion", false},        // 23
    {"Acoustic Guitar (nylon)", true}, // 24
    {"Acoustic Guitar (steel)", true}, // 25
    {"Electric Guitar (jazz)", true},  // 26
    {"Electric Guitar (clean)", true}, // 27
    {"Electric Guitar (muted)", true}, // 28
    {"Overdriven Guitar", false},      // 29
    {"Distortion Guitar", false},      // 30
    {"Guitar harmonics", true},        // 31
    {"Acoustic Bass", false},          // 32
    {"Electric Bass (finger)", false}, // 33
    {"Electric Bass (pick)", false},   // 34
    {"Fretless Bass", false},          // 35
    {"Slap Bass 1", false},            // 36
    {"Slap Bass 2", false},            // 37
    {"Synth Bass 1", false},           // 38
    {"Synth Bass 2", false},           // 39
    {"Violin", false},                 // 40
    {"Viola", false},                  // 41
    {"Cello", false},                  // 42
    {"Contrabass", false},             // 43
    {"Tremolo Strings", false},        // 44
    {"Pizzicato Strings", false},      // 45
    {"Orchestral Harp", false},        // 46
    {"Timpani", false},                // 47
    {"String Ensemble 1", false},      // 48
    {"String Ensemble 2", false},      // 49
    {"SynthStrings 1", false},         // 50
    {"SynthStrings 2", false},         // 51
    {"Choir Aahs", false},             // 52
    {"Voice Oohs", false},             // 53
    {"Synth Voice", false},            // 54
    {"Orchestra Hit", false},          // 55
    {"Trumpet", false},                // 56
    {"Trombone", false},               // 57
    {"Tuba", false},                   // 58
    {"Muted Trumpet", false},          // 59
    {"French Horn", false},            // 60
    {"Brass Section", false},          // 61
    {"SynthBrass 1", false},           // 62
    {"SynthBrass 2", false},           // 63
    {"Soprano Sax", false},            // 64
    {"Alto Sax", false},               // 65
    {"Tenor Sax", false},              // 66
    {"Baritone Sax", false},           // 67
    {"Oboe", false},                   // 68
    {"English Horn", false},           // 69
    {"Bassoon", false},                // 70
    {"Clarinet", false},               // 71
    {"Piccolo", false},                // 72
    {"Flute", false},                  // 73
    {"Recorder", false},               // 74
    {"Pan Flute", false},              // 75
    {"Blown Bottle", false},           // 76
    {"Shakuhachi", false},             // 77
    {"Whistle", false},                // 78
    {"Ocarina", false},                // 79
    {"Lead 1 (square)", false},        // 80
    {"Lead 2 (sawtooth)", false},      // 81
    {"Lead 3 (calliope)", false},      // 82
    {"Lead 4 (chiff)", false},         // 83
    {"Lead 5 (charang)", false},       // 84
    {"Lead 6 (voice)", false},         // 85
    {"Lead 7 (fifths)", false},        // 86
    {"Lead 8 (bass + lead)", false},   // 87
    {"Pad 1 (new age)", false},        // 88
    {"Pad 2 (warm)", false},           // 89
    {"Pad 3 (polysynth)", false},      // 90
    {"Pad 4 (choir)", false},          // 91
    {"Pad 5 (bowed)", false},          // 92
    {"Pad 6 (metallic)", false},       // 93
    {"Pad 7 (halo)", false},           // 94
    {"Pad 8 (sweep)", false},          // 95
    {"FX 1 (rain)", false},            // 96
    {"FX 2 (soundtrack)", false},      // 97
    {"FX 3 (crystal)", false},         // 98
    {"FX 4 (atmosphere)", false},      // 99
    {"FX 5 (brightness)", false},      // 100
    {"FX 6 (goblins)", false},         // 101
    {"FX 7 (echoes)", false},          // 102
    {"FX 8 (sci-fi)", false},          // 103
    {"Sitar", false},                  // 104
    {"Banjo", false},                  // 105
    {"Shamisen", false},               // 106
    {"Koto", false},                   // 107
    {"Kalimba", false},                // 108
    {"Bag pipe", false},               // 109
    {"Fiddle", false},                 // 110
    {"Shanai", false},                 // 111
    {"Tinkle Bell", false},            // 112
    {"Agogo", false},                  // 113
    {"Steel Drums", false},            // 114
    {"Woodblock", false},              // 115
    {"Taiko Drum", false},             // 116
    {"Melodic Tom", false},            // 117
    {"Synth Drum", false},             // 118
    {"Reverse Cymbal", false},         // 119
    {"Guitar Fret Noise", false},      // 120
    {"Breath Noise", false},           // 121
    {"Seashore", false},               // 122
    {"Bird Tweet", false},             // 123
    {"Telephone Ring", false},         // 124
    {"Helicopter", false},             // 125
    {"Applause", false},               // 126
    {"Gunshot", false},                // 127
}};

} // namespace tessimo
