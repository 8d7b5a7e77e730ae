// The recogniser on the adaptive path: templates recorded in a quiet room recognised in a
// noisy one, words that are not in the vocabulary asked again, instrument notes named with no
// recording, the record help, and the documented path left as it was.
#include <gtest/gtest.h>

#include "Feeding.h"
#include "Voices.h"
#include "recognition/CRecognizer.h"
#include "recognition/FrameAnalysis.h"

namespace tessimo {
namespace {

using namespace tessimo::testing;

struct Heard {
    std::vector<int> slots;
    int sayAgain = 0;
    static void word(int slot, void* c) { static_cast<Heard*>(c)->slots.push_back(slot); }
    static void again(void* c) { ++static_cast<Heard*>(c)->sayAgain; }
};

Samples room(double amplitude, double seconds, unsigned seed) {
    return noise(amplitude, static_cast<int>(seconds * 22000), seed);
}

// Records three takes of words 0..4 into pitch classes 0, 2, 4, 5, 7 in a quiet room, as the
// Record game does (1.2 s windows).
void recordVoice(CRecognizer& r) {
    const int classes[5] = {0, 2, 4, 5, 7};
    r.StartNoiseMeasure();
    feed(r, room(30, 0.2, 1));
    r.StopCapture();
    const double pitches[3] = {120, 135, 150};
    const double lengths[3] = {0.42, 0.5, 0.58};
    const double formants[3] = {0.95, 1.0, 1.05};
    for (int w = 0; w < 5; ++w) {
        for (int take = 0; take < 3; ++take) {
            const int slot = classes[w] + 12 * take;
            const Samples word =
                syllable(shifted(Words[w], formants[take]), pitches[take], lengths[take], 3000);
            Samples window =
                concat({room(30, 0.15, static_cast<unsigned>(slot)), word, room(30, 0.6, 3)});
            window.resize(static_cast<std::size_t>(1.2 * 22000));
            r.StartWordRecording(slot);
            feed(r, window);
            r.StopCapture();
            r.SetCandidate(slot, true);
        }
    }
}

TEST(AdaptivePath, RecognisesInANoisyRoomWhatTheDocumentedPathNeverHears) {
    for (const RecognitionPath path : {RecognitionPath::Documented, RecognitionPath::Adaptive}) {
        CRecognizer r;
        r.setRecognitionPath(path);
        recordVoice(r);
        Heard heard;
        r.setSayAgainCallback(&Heard::again);
        r.StartRecognition(&Heard::word, &heard);
        // Noise 20 dB below the words, far above twice the quiet room's level.
        const Samples fan = room(300, 1.0, 11);
        const Samples said = syllable(shifted(Words[3], 1.02), 128, 0.47, 3000);
        feed(r,
             concat({fan, mix(said, room(300, 0.5, 12)), fan,
                     mix(syllable(shifted(Words[1], 0.98), 140, 0.52, 3000), room(300, 0.55, 13)),
                     fan}));
        r.StopCapture();
        if (path == RecognitionPath::Documented) {
            EXPECT_TRUE(heard.slots.empty());
        } else {
            ASSERT_EQ(heard.slots.size(), 2u);
            EXPECT_EQ(heard.slots[0] % 12, 5);
            EXPECT_EQ(heard.slots[1] % 12, 2);
            EXPECT_EQ(heard.sayAgain, 0);
        }
    }
}

TEST(AdaptivePath, WordOutsideTheVocabularyIsAskedAgain) {
    CRecognizer r;
    r.setRecognitionPath(RecognitionPath::Adaptive);
    recordVoice(r);
    Heard heard;
    r.setSayAgainCallback(&Heard::again);
    r.StartRecognition(&Heard::word, &heard);
    const Samples quiet = room(30, 1.0, 21);
    feed(r, concat({quiet, tone(220, 4000, 11000), quiet}));
    r.StopCapture();
    EXPECT_TRUE(heard.slots.empty());
    EXPECT_EQ(heard.sayAgain, 1);
}

TEST(AdaptivePath, InstrumentNotesNamedWithoutRecordings) {
    CRecognizer r;
    r.setRecognitionPath(RecognitionPath::Adaptive);
    for (int p = 36; p <= 83; ++p) {
        r.SetCandidate(p, true);
    }
    r.SetCandidate(62, false);
    Heard heard;
    r.setSayAgainCallback(&Heard::again);
    r.StartRecognition(&Heard::word, &heard);
    const Samples quiet = room(30, 1.0, 31);
    feed(r, concat({quiet, instrumentNote(45, 0.6, 8000), quiet, instrumentNote(72, 0.4, 8000),
                    quiet, instrumentNote(62, 0.4, 8000), quiet}));
    r.StopCapture();
    EXPECT_EQ(heard.slots, (std::vector<int>{45, 72}));
    EXPECT_EQ(heard.sayAgain, 1); // 62 is not a candidate
}

// Records the notes that sound gives for the pitches 48..72 in a quiet room, as the Record
// game does, and makes them the candidates.
template <typename Sound> void recordInstrument(CRecognizer& r, Sound&& sound) {
    r.StartNoiseMeasure();
    feed(r, room(30, 0.2, 1));
    r.StopCapture();
    for (int p = 48; p <= 72; ++p) {
        Samples window =
            concat({room(30, 0.15, static_cast<unsigned>(p)), sound(p), room(30, 0.6, 3)});
        window.resize(static_cast<std::size_t>(1.2 * 22000));
        r.StartWordRecording(p);
        feed(r, window);
        r.StopCapture();
        r.SetCandidate(p, true);
    }
}

Samples plucked(int pitch) {
    return pluckedNote(pitch, 0.6, 5000);
}

// The note sung on one steady vowel: a sound unlike any plucked string's.
Samples sung(int pitch) {
    return syllable({600, 1000, 600, 1000}, 440.0 * std::pow(2.0, (pitch - 69) / 12.0), 0.6, 3000);
}

TEST(AdaptivePath, SoundUnlikeEveryRecordingIsNamedByItsPitch) {
    CRecognizer r;
    r.setRecognitionPath(RecognitionPath::Adaptive);
    recordInstrument(r, plucked);
    Heard heard;
    r.setSayAgainCallback(&Heard::again);
    r.StartRecognition(&Heard::word, &heard);
    // The recorded instrument, then sung notes: far from every recording, nearer some other
    // pitch's recording than their own, which says nothing about their pitch.
    const Samples quiet = room(30, 1.0, 41);
    feed(r, concat({quiet, plucked(55), quiet, sung(60), quiet, sung(64), quiet, sung(71), quiet}));
    r.StopCapture();
    EXPECT_EQ(heard.slots, (std::vector<int>{55, 60, 64, 71}));
    EXPECT_EQ(heard.sayAgain, 0);
}

TEST(AdaptivePath, RecordingThatSurelyNamesAnotherNoteStillAsksAgain) {
    // The recording of 67 holds a 60 (a wrong key while recording), and 60 was sung. A 60
    // played is then almost exactly the recording of 67 and far from that of 60: tracker and
    // recordings disagree, both sure of themselves.
    CRecognizer r;
    r.setRecognitionPath(RecognitionPath::Adaptive);
    recordInstrument(r, [](int p) { return p == 60 ? sung(60) : plucked(p == 67 ? 60 : p); });
    Heard heard;
    r.setSayAgainCallback(&Heard::again);
    r.StartRecognition(&Heard::word, &heard);
    const Samples quiet = room(30, 1.0, 42);
    feed(r, concat({quiet, plucked(60), quiet, plucked(52), quiet}));
    r.StopCapture();
    EXPECT_EQ(heard.slots, (std::vector<int>{52}));
    EXPECT_EQ(heard.sayAgain, 1);
}

TEST(AdaptivePath, RecordedWordIsCutWhereTheWordIsAndTheFileStaysTheSame) {
    CRecognizer documented, adaptive;
    adaptive.setRecognitionPath(RecognitionPath::Adaptive);
    for (CRecognizer* r : {&documented, &adaptive}) {
        r->StartNoiseMeasure();
        feed(*r, room(30, 0.2, 1));
        r->StopCapture();
        r->StartWordRecording(3);
        feed(*r, concat({room(30, 0.3, 2), syllable(Words[0], 130, 0.4, 3000), room(30, 0.5, 3)}));
        r->StopCapture();
    }
    const WordSlot& cut = adaptive.slot(3);
    // The word (8800 samples) with at most a pre-roll and a short tail around it.
    EXPECT_GE(cut.samples.size(), 8800u);
    EXPECT_LE(cut.samples.size(), 8800u + 10u * 512u);
    EXPECT_EQ(cut.frames.GetSize(), FrameCount(static_cast<int>(cut.samples.size())));
    EXPECT_GT(documented.slot(3).samples.size(), 0u);

    // A recording under 2049 samples is discarded, as on the documented path (here one the
    // detector would take whole as a word).
    adaptive.StartWordRecording(4);
    feed(adaptive, tone(400, 8000, 2048));
    adaptive.StopCapture();
    EXPECT_EQ(adaptive.slot(4).length(), 0u);
    EXPECT_EQ(adaptive.slot(4).frames.GetSize(), 0);
}

TEST(AdaptivePath, RecordHelpNamesWordsRecordedAlike) {
    CRecognizer r;
    r.setRecognitionPath(RecognitionPath::Adaptive);
    recordVoice(r);
    EXPECT_TRUE(r.ConfusableWords().empty());
    // Pitch class 9 recorded with the takes of class 4.
    for (int take = 0; take < 3; ++take) {
        Samples window = concat(
            {room(30, 0.15, 40), syllable(Words[2], 120 + 15 * take, 0.5, 3000), room(30, 0.6, 3)});
        r.StartWordRecording(9 + 12 * take);
        feed(r, window);
        r.StopCapture();
    }
    const auto pairs = r.ConfusableWords();
    ASSERT_FALSE(pairs.empty());
    EXPECT_EQ(pairs[0].first, 4);
    EXPECT_EQ(pairs[0].second, 9);
}

} // namespace
} // namespace tessimo
