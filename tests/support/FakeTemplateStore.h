// A template store for tests: the templates and candidates are plain arrays the test sets and
// reads; the file calls are recorded and answer what the test chose.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "recognition/TemplateStore.h"
#include "support/FakeCallLog.h"

namespace tessimo::testing {

class FakeTemplateStore : public virtual TemplateStore, public virtual FakeCallLog {
public:
    std::array<std::uint8_t, TemplateSlotCount> candidates{};
    // Slots that hold a word; also what the next LoadTemplates finds, so emptying the
    // templates keeps it.
    std::array<std::uint8_t, TemplateSlotCount> templates{};
    std::array<bool, TemplateSlotCount> silentSlots{}; // recordings that capture nothing
    int loadResult = -1;
    int saveResult = 0;
    std::string savedPath;
    std::string loadedPath;
    std::vector<ConfusablePair> confusablePairs; // what ConfusableWords answers

    void SetCandidate(int slot, bool candidate) override { candidates[slot] = candidate ? 1 : 0; }
    bool HasTemplate(int slot) const override {
        return slot >= 0 && slot < TemplateSlotCount && templates[slot] != 0 && !silentSlots[slot];
    }
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
    void ResetTemplates() override { calls.push_back({"ResetTemplates", 0}); }
    std::vector<ConfusablePair> ConfusableWords() const override { return confusablePairs; }

protected:
    // A recording into slot ended: it becomes a template unless the test made it capture
    // nothing.
    void recorded(int slot) { templates[slot] = silentSlots[slot] ? 0 : 1; }
};

} // namespace tessimo::testing
