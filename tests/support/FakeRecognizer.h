// A recogniser for tests: records every call and lets the test deliver recognised words.
#pragma once

#include <string>
#include <vector>

#include "recognition/RecognizerEntryPoints.h"

namespace tessimo::testing {

class FakeRecognizer : public RecognizerEntryPoints {
public:
    struct Call {
        std::string name;
        int argument = 0;
        bool operator==(const Call&) const = default;
    };

    std::vector<Call> calls;
    std::array<std::uint8_t, TemplateSlotCount> candidates{};
    std::array<std::uint8_t, TemplateSlotCount> templates{}; // slots that hold a word
    std::array<bool, TemplateSlotCount> silentSlots{};       // recordings that capture nothing
    RecognitionCallback callback = nullptr;
    void* context = nullptr;
    bool capturing = false;
    int loadResult = -1;
    int saveResult = 0;

    void StartNoiseMeasure() override {
        calls.push_back({"StartNoiseMeasure", 0});
        capturing = true;
    }
    void StartWordRecording(int slot) override {
        calls.push_back({"StartWordRecording", slot});
        capturing = true;
        recordingSlot = slot;
    }
    void StartRecognition(RecognitionCallback cb, void* ctx) override {
        calls.push_back({"StartRecognition", 0});
        callback = cb;
        context = ctx;
        capturing = true;
    }
    int StopCapture() override {
        calls.push_back({"StopCapture", 0});
        if (recordingSlot >= 0) {
            // A recorded word becomes a template, unless the test made it capture nothing.
            templates[recordingSlot] = silentSlots[recordingSlot] ? 0 : 1;
            recordingSlot = -1;
        }
        capturing = false;
        callback = nullptr;
        return 0;
    }
    void SetCandidate(int slot, bool candidate) override { candidates[slot] = candidate ? 1 : 0; }
    bool HasTemplate(int slot) const override {
        return slot >= 0 && slot < TemplateSlotCount && templates[slot] != 0 && !silentSlots[slot];
    }
    int PlayWord(int slot) override {
        calls.push_back({"PlayWord", slot});
        capturing = false;
        recordingSlot = -1;
        return slot >= 0 && slot < WordSlotCount ? 0 : -1; // every slot has its sample block
    }
    void StopWordPlayback() override { calls.push_back({"StopWordPlayback", 0}); }
    int SaveTemplates(const std::string& path) override {
        calls.push_back({"SaveTemplates", 0});
        savedPath = path;
        return saveResult;
    }
    int LoadTemplates(const std::string& path,
                      std::array<std::uint8_t, TemplateSlotCount>& present) override {
        calls.push_back({"LoadTemplates", 0});
        loadedPath = path;
        present = loadResult == 0 ? templates : std::array<std::uint8_t, TemplateSlotCount>{};
        return loadResult;
    }

    // templates also stands for what the next LoadTemplates finds, so it is kept.
    void ResetTemplates() override {
        calls.push_back({"ResetTemplates", 0});
        capturing = false;
        recordingSlot = -1;
    }

    // Delivers a recognised word as the audio thread would (here on the calling thread).
    // Returns false when recognition is not running.
    bool recognise(int slot) {
        if (callback == nullptr) {
            return false;
        }
        callback(slot, context);
        return true;
    }

    // Names of the recorded calls, in order (SetCandidate is not recorded: it is frequent).
    std::vector<std::string> callNames() const {
        std::vector<std::string> names;
        for (const auto& c : calls) {
            names.push_back(c.name);
        }
        return names;
    }

    int recordingSlot = -1;
    std::string savedPath;
    std::string loadedPath;
};

} // namespace tessimo::testing
