// Where the judge reports every judged or missed question: the score of the running game, and
// through the shell the practice history or a statistics window. Implemented by thin adapters
// and by fakes in tests. User-interface thread only.
#pragma once

#include "model/AnswerOutcome.h"

namespace tessimo {

class OutcomeSink {
public:
    virtual ~OutcomeSink() = default;
    // One outcome, in the order the questions were judged or left the staff. atMs is 0: the
    // engine keeps only the tick count, so a sink that stores outcomes stamps the wall time.
    virtual void onOutcome(const AnswerOutcome& outcome) = 0;
};

} // namespace tessimo
