// A view for frame tests: records the commands it receives; its enabling rules and idle flag
// are set by the test.
#pragma once

#include "shell/CommandTable.h"
#include "shell/CommandView.h"

#include <QList>
#include <QMap>
#include <QSet>

namespace tessimo {

class FakeCommandView : public CommandView {
    Q_OBJECT
public:
    bool handlesCommand(int id) const override { return id != IdExit && id != IdAbout; }
    bool commandEnabled(int id) const override { return !disabled.contains(id); }
    void runCommand(int id) override { received.append(id); }
    bool isIdle() const override { return idle; }
    int runningCommand() const override { return running; }
    QString userName() const override { return user; }
    QString disabledReason(int id) const override { return reasons.value(id); }
    QString standingStatus() const override { return standing; }
    void stopExercise() override { ++stops; }
    void recordWordAgain(int word) override { recordedAgain.append(word); }

    void setIdle(bool value) {
        idle = value;
        emit commandStateChanged();
    }

    bool idle = true;
    QSet<int> disabled;
    QList<int> received;
    int running = 0;
    QString user;
    QMap<int, QString> reasons;
    QString standing;
    int stops = 0;
    QList<int> recordedAgain;
};

} // namespace tessimo
