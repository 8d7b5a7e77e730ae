// An outcome sink for tests: keeps every outcome the judge reports.
#pragma once

#include "game/OutcomeSink.h"

#include <vector>

namespace tessimo::testing {

class RecordingSink : public OutcomeSink {
public:
    std::vector<AnswerOutcome> outcomes;
    void onOutcome(const AnswerOutcome& outcome) override { outcomes.push_back(outcome); }
    int count(Outcome o) const {
        int n = 0;
        for (const AnswerOutcome& a : outcomes) {
            n += a.outcome == o ? 1 : 0;
        }
        return n;
    }
};

} // namespace tessimo::testing
