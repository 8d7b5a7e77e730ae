#include "shell/CMainFrame.h"

#include "shell/CommandTable.h"
#include "shell/CommandView.h"
#include "shell/LockIndicators.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

namespace tessimo {

namespace {

constexpr int FrameWidth = 1000;
constexpr int FrameHeight = 600;

QLabel* makeIndicatorPane(QWidget* parent, const QString& widest) {
    auto* pane = new QLabel(parent);
    pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    pane->setAlignment(Qt::AlignCenter);
    pane->setMinimumWidth(pane->fontMetrics().horizontalAdvance(widest) + 12);
    return pane;
}

// The menu text as a title: without its access-key ampersand and trailing " ...".
QString plainText(const char* text) {
    QString plain = translatedCommandText(text);
    plain.remove(QLatin1Char('&'));
    if (plain.endsWith(QStringLiteral(" ..."))) {
        plain.chop(4);
    }
    return plain;
}

} // namespace

bool interfaceIsFrench() {
    return QLocale().language() == QLocale::French;
}

CMainFrame::CMainFrame(CommandView* view, QWidget* parent) : QMainWindow(parent), m_view(view) {
    setWindowIcon(QIcon(QStringLiteral(":/icon/tessimo.svg")));
    buildActions();
    buildMenus();
    buildToolBar();
    buildStatusBar();
    setCentralWidget(m_view);
    setDockOptions(dockOptions() | QMainWindow::AnimatedDocks);
    resize(FrameWidth, FrameHeight);

    connect(m_view, &CommandView::commandStateChanged, this, &CMainFrame::updateCommandStates);
    connect(m_view, &CommandView::statusMessage, this, &CMainFrame::showStatusMessage);
    connect(m_view, &CommandView::soundSetupOffered, this, &CMainFrame::offerSoundSetup);
    connect(m_view, &CommandView::recordAgainOffered, this, &CMainFrame::offerRecordAgain);
    connect(m_view, &CommandView::keyboardStatusChanged, this,
            [this](const QString& text, const QString& details) {
                m_keyboardPane->setText(text);
                m_keyboardPane->setToolTip(details);
                m_keyboardPane->setVisible(!text.isEmpty());
            });
    qApp->installEventFilter(this);
    updateCommandStates();
    updateLockIndicators();
}

void CMainFrame::buildActions() {
    m_exerciseGroup = new QActionGroup(this);
    m_exerciseGroup->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (const MenuInfo& menu : menuTable()) {
        for (const CommandInfo& item : menu.items) {
            auto* act = new QAction(translatedCommandText(item.text), this);
            act->setData(item.id);
            act->setStatusTip(translatedCommandText(item.prompt));
            act->setToolTip(*item.tooltip != '\0' ? translatedCommandText(item.tooltip)
                                                  : plainText(item.text));
            if (*item.picture != '\0') {
                act->setIcon(QIcon(QString::fromUtf8(item.picture)));
            }
            // The menu shows text only; the pictures belong to the tool bar.
            act->setIconVisibleInMenu(false);
            const int id = item.id;
            connect(act, &QAction::triggered, this, [this, id] { routeCommand(id); });
            m_actions.insert(id, act);
        }
    }
    for (int id : exerciseCommands()) {
        QAction* act = m_actions.value(id);
        act->setCheckable(true);
        m_exerciseGroup->addAction(act);
    }
    for (int id : optionCommands()) {
        m_actions.value(id)->setCheckable(true);
    }
    m_actions.value(IdExit)->setShortcut(QKeySequence::Quit);
    m_actions.value(IdStop)->setShortcut(QKeySequence(Qt::Key_Escape));
    // F1 opens the manual in the interface's language.
    m_actions.value(interfaceIsFrench() ? IdManualFrench : IdManualEnglish)
        ->setShortcut(QKeySequence::HelpContents);
    for (QAction* act : std::as_const(m_actions)) {
        m_prompts.insert(act->data().toInt(), act->statusTip());
    }
}

void CMainFrame::buildMenus() {
    for (const MenuInfo& info : menuTable()) {
        QMenu* menu = menuBar()->addMenu(translatedCommandText(info.title));
        for (const CommandInfo& item : info.items) {
            menu->addAction(m_actions.value(item.id));
        }
        // Enabled states are evaluated just before the menu shows, as the tool bar's are
        // after every change of state.
        connect(menu, &QMenu::aboutToShow, this, &CMainFrame::updateCommandStates);
    }
}

void CMainFrame::buildToolBar() {
    m_toolBar = new QToolBar(tr("Standard"), this);
    m_toolBar->setObjectName(QStringLiteral("toolBar"));
    m_toolBar->setMovable(true);
    m_toolBar->setFloatable(true);
    m_toolBar->setAllowedAreas(Qt::AllToolBarAreas);
    m_toolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    for (int id : toolBarTable()) {
        m_toolBar->addAction(m_actions.value(id));
    }
    addToolBar(Qt::TopToolBarArea, m_toolBar);
}

void CMainFrame::buildStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("statusBar"));
    m_readyPane = new QLabel(tr("Ready"), bar);
    m_readyPane->setObjectName(QStringLiteral("messagePane"));
    m_readyPane->setIndent(3);
    bar->addWidget(m_readyPane, 1);
    // Offered next to the message while sound or the microphone is missing.
    m_soundSetupButton = new QToolButton(bar);
    m_soundSetupButton->setObjectName(QStringLiteral("soundSetupButton"));
    m_soundSetupButton->setText(tr("Set up sound ..."));
    m_soundSetupButton->setAutoRaise(true);
    connect(m_soundSetupButton, &QToolButton::clicked, this,
            [this] { routeCommand(IdSoundSetup); });
    bar->addPermanentWidget(m_soundSetupButton);
    m_soundSetupButton->setVisible(false);
    // Words of the last Record that were not heard or sound alike, to record again alone.
    m_recordAgainButton = new QToolButton(bar);
    m_recordAgainButton->setObjectName(QStringLiteral("recordAgainButton"));
    m_recordAgainButton->setText(tr("Record again"));
    m_recordAgainButton->setToolTip(tr("Record one word again, alone"));
    m_recordAgainButton->setAutoRaise(true);
    m_recordAgainButton->setPopupMode(QToolButton::InstantPopup);
    m_recordAgainButton->setMenu(new QMenu(m_recordAgainButton));
    bar->addPermanentWidget(m_recordAgainButton);
    m_recordAgainButton->setVisible(false);
    // What the MIDI keyboard input offers, said once per change and kept in view.
    m_keyboardPane = new QLabel(bar);
    m_keyboardPane->setObjectName(QStringLiteral("keyboardPane"));
    m_keyboardPane->setVisible(false);
    bar->addPermanentWidget(m_keyboardPane);
    m_capsPane = makeIndicatorPane(bar, QStringLiteral("MAJ"));
    m_numPane = makeIndicatorPane(bar, QStringLiteral("NUM"));
    m_scrollPane = makeIndicatorPane(bar, QStringLiteral("DEF"));
    bar->addPermanentWidget(m_capsPane);
    bar->addPermanentWidget(m_numPane);
    bar->addPermanentWidget(m_scrollPane);
}

QString CMainFrame::statusText() const {
    const QString message = statusBar()->currentMessage();
    return message.isEmpty() ? m_readyPane->text() : message;
}

QString CMainFrame::keyboardStatus() const {
    return m_keyboardPane->text();
}

QString CMainFrame::capsIndicator() const {
    return m_capsPane->text();
}
QString CMainFrame::numIndicator() const {
    return m_numPane->text();
}
QString CMainFrame::scrollIndicator() const {
    return m_scrollPane->text();
}

void CMainFrame::showStatusMessage(const QString& text) {
    statusBar()->showMessage(text);
}

void CMainFrame::offerSoundSetup(bool offered) {
    m_soundSetupButton->setVisible(offered);
}

void CMainFrame::offerRecordAgain(const QStringList& names, const QList<int>& words) {
    QMenu* menu = m_recordAgainButton->menu();
    menu->clear();
    for (qsizetype i = 0; i < names.size() && i < words.size(); ++i) {
        const int word = words[i];
        QAction* act = menu->addAction(tr("Record %1 again").arg(names[i]));
        act->setData(word);
        connect(act, &QAction::triggered, this, [this, word] { m_view->recordWordAgain(word); });
    }
    m_recordAgainButton->setVisible(!menu->isEmpty());
}

bool CMainFrame::commandEnabled(int id) const {
    if (id == IdStop) {
        return m_view->runningCommand() != IdPlayNotes;
    }
    if (m_view->handlesCommand(id)) {
        return m_view->commandEnabled(id);
    }
    if (id == IdAbout) {
        return m_view->isIdle();
    }
    return true;
}

void CMainFrame::updateCommandStates() {
    for (auto it = m_actions.cbegin(); it != m_actions.cend(); ++it) {
        const bool enabled = commandEnabled(it.key());
        QAction* act = it.value();
        act->setEnabled(enabled);
        // A disabled command says why in its prompt.
        const QString prompt = m_prompts.value(it.key());
        const QString reason = enabled ? QString() : m_view->disabledReason(it.key());
        act->setStatusTip(reason.isEmpty() ? prompt
                                           : QStringLiteral("%1 \u2014 %2").arg(prompt, reason));
    }
    const int running = m_view->runningCommand();
    for (int id : exerciseCommands()) {
        m_actions.value(id)->setChecked(id == running);
    }
    for (int id : optionCommands()) {
        m_actions.value(id)->setChecked(m_view->commandChecked(id));
    }
    const QString standing = m_view->standingStatus();
    m_readyPane->setText(standing.isEmpty() ? tr("Ready") : standing);
    updateTitle();
}

void CMainFrame::updateTitle() {
    const CommandInfo* exercise = findCommand(m_view->runningCommand());
    QString user = m_view->userName();
    if (user.isEmpty()) {
        user = tr("default user");
    }
    QStringList parts;
    if (exercise != nullptr) {
        parts << plainText(exercise->text);
    }
    parts << user << QStringLiteral("Tessimo");
    setWindowTitle(parts.join(QStringLiteral(" \u2014 ")));
}

void CMainFrame::routeCommand(int id) {
    // A command may have become disabled since its button was last drawn.
    if (!commandEnabled(id)) {
        updateCommandStates();
        return;
    }
    if (id == IdStop) {
        m_view->stopExercise();
    } else if (m_view->handlesCommand(id)) {
        m_view->runCommand(id);
    } else if (id == IdExit) {
        close();
    } else if (id == IdAbout) {
        emit aboutRequested();
    }
    updateCommandStates();
}

void CMainFrame::updateLockIndicators() {
    const LockState state = readLockState();
    m_capsPane->setText(state.caps ? QStringLiteral("MAJ") : QString());
    m_numPane->setText(state.num ? QStringLiteral("NUM") : QString());
    m_scrollPane->setText(state.scroll ? QStringLiteral("DEF") : QString());
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyRelease: {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_CapsLock || key == Qt::Key_NumLock || key == Qt::Key_ScrollLock) {
            updateLockIndicators();
        }
        break;
    }
    case QEvent::ApplicationActivate:
        updateLockIndicators();
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace tessimo
