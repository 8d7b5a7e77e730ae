// A view for frame tests: records the commands it receives; its enabling rules and idle flag
// are set by the test.
#pragma once

#include "shell/CommandTable.h"
#include "shell/CommandView.h"

#include <QList>
#include <QSet>

namespace tessimo {

class FakeCommandView : public CommandView {
    Q_OBJECT
public:
    bool handlesCommand(int id) const override { return id != IdExit && id != IdAbout; }
    bool commandEnabled(int id) const override { return !disabled.contains(id); }
    void runCommand(int id) override { received.append(id); }
    bool isIdle() const override { return idle; }

    void setIdle(bool value) {
        idle = value;
        emit commandStateChanged();
    }

    bool idle = true;
    QSet<int> disabled;
    QList<int> received;
};

} // namespace tessimo
