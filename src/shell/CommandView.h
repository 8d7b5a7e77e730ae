// The window part in which the exercises run, as the main frame sees it: it receives the
// commands first, says which of them it handles and whether they are enabled, and tells the
// frame when that may have changed. User-interface thread only.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QWidget>

namespace tessimo {

class CommandView : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;

    // True when this view has a handler for the command id.
    virtual bool handlesCommand(int id) const = 0;

    // The enabling rule of a command this view handles.
    virtual bool commandEnabled(int id) const = 0;

    // Runs a command this view handles.
    virtual void runCommand(int id) = 0;

    // True while no timed exercise runs.
    virtual bool isIdle() const = 0;

    // The command of the exercise that runs (or whose picture stays, ended by a game limit),
    // 0 for none.
    virtual int runningCommand() const { return 0; }

    // The current user's name, empty for the default user.
    virtual QString userName() const { return {}; }

    // Why a command that is disabled cannot run, in words for the status bar; empty when it
    // has nothing to say.
    virtual QString disabledReason(int /*id*/) const { return {}; }

    // Whether an option command (a menu item that is switched on or off) is on.
    virtual bool commandChecked(int /*id*/) const { return false; }

    // What the message pane shows while no prompt or message covers it; empty for "Ready".
    virtual QString standingStatus() const { return {}; }

    // Stops whatever runs and goes back to Play notes, whatever the enabling rules say.
    virtual void stopExercise() {}

    // Records one of the words offered by recordAgainOffered again, alone.
    virtual void recordWordAgain(int /*word*/) {}

signals:
    // The mode, the settings or the recordings changed: enabled states must be re-read.
    void commandStateChanged();

    // A one-off message for the status bar (a missing device, a manual that cannot open).
    void statusMessage(const QString& text);

    // Sound or the microphone is missing (offered), or works again: the status bar offers the
    // sound set-up while it is missing.
    void soundSetupOffered(bool offered);

    // What the MIDI keyboard input can offer changed: text for the status bar's keyboard pane,
    // details for its tool tip.
    void keyboardStatusChanged(const QString& text, const QString& details);

    // The words the user may record again one at a time (names as shown, and the word each
    // stands for); empty lists withdraw the offer.
    void recordAgainOffered(const QStringList& names, const QList<int>& words);
};

} // namespace tessimo
