// The main window: menu, tool bar and status bar around the view. Commands from the menu and
// the tool bar go to the view first; Exit is the frame's own and About the application's.
// User-interface thread only.
#pragma once

#include <QMainWindow>
#include <QMap>

class QAction;
class QActionGroup;
class QLabel;
class QToolButton;
class QToolBar;

namespace tessimo {

class CommandView;

// True when the interface is shown in French (the manual of F1 follows it).
bool interfaceIsFrench();

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    // Builds the furniture around view, which the frame takes over, and sizes the window.
    explicit CMainFrame(CommandView* view, QWidget* parent = nullptr);

    CommandView* view() const { return m_view; }
    QToolBar* toolBar() const { return m_toolBar; }

    // The action of a command id, or nullptr.
    QAction* action(int id) const { return m_actions.value(id, nullptr); }

    // The text of the message pane: a prompt or message when one is shown, else "Ready".
    QString statusText() const;

    // The indicator panes as shown ("MAJ", "NUM", "DEF" or empty).
    QString capsIndicator() const;
    QString numIndicator() const;
    QString scrollIndicator() const;

    // Re-reads every command's enabling rule into its action (with the reason in the prompt of
    // a disabled one), checks the running exercise's command and titles the window with it
    // and the user.
    void updateCommandStates();

    // Sends a command along the route view, frame, application, if it is enabled.
    void routeCommand(int id);

    // Shows a message in the status bar until the next prompt replaces it.
    void showStatusMessage(const QString& text);

    // Shows (or hides) the status bar's button that opens the sound set-up.
    void offerSoundSetup(bool offered);
    QToolButton* soundSetupButton() const { return m_soundSetupButton; }

    // The status bar's pane that says what the MIDI keyboard input offers ("" until known).
    QString keyboardStatus() const;

    // Shows the status bar's "Record again" button with a menu of the words offered (hidden
    // when there are none); choosing a word records it again.
    void offerRecordAgain(const QStringList& names, const QList<int>& words);
    QToolButton* recordAgainButton() const { return m_recordAgainButton; }

signals:
    // The About command, handled by the application.
    void aboutRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildActions();
    void buildMenus();
    void buildToolBar();
    void buildStatusBar();
    void updateLockIndicators();
    bool commandEnabled(int id) const;
    void updateTitle();

    CommandView* m_view;
    QToolBar* m_toolBar = nullptr;
    QLabel* m_readyPane = nullptr;
    QLabel* m_keyboardPane = nullptr;
    QLabel* m_capsPane = nullptr;
    QLabel* m_numPane = nullptr;
    QLabel* m_scrollPane = nullptr;
    QToolButton* m_soundSetupButton = nullptr;
    QToolButton* m_recordAgainButton = nullptr;
    QMap<int, QAction*> m_actions;
    QMap<int, QString> m_prompts; // each command's own prompt, before any reason is added
    QActionGroup* m_exerciseGroup = nullptr;
};

} // namespace tessimo
