// The calls that the recogniser fakes receive, in order, in one log that the fakes of the three
// parts of the recogniser's boundary share when they are combined (FakeRecognizer).
#pragma once

#include <string>
#include <vector>

namespace tessimo::testing {

struct FakeCallLog {
    struct Call {
        std::string name;
        int argument = 0;
        bool operator==(const Call&) const = default;
    };

    std::vector<Call> calls;

    // Copied, never moved: the fakes share it as a virtual base, and a move through each of
    // them would empty it before the last one took it.
    FakeCallLog() = default;
    FakeCallLog(const FakeCallLog&) = default;
    FakeCallLog& operator=(const FakeCallLog&) = default;

    // Names of the recorded calls, in order (SetCandidate is not recorded: it is frequent).
    std::vector<std::string> callNames() const {
        std::vector<std::string> names;
        for (const auto& c : calls) {
            names.push_back(c.name);
        }
        return names;
    }
};

} // namespace tessimo::testing
