#include "shell/CBrindelApp.h"

#include "shell/CAboutDlg.h"
#include "shell/CBrindelDoc.h"
#include "shell/CMainFrame.h"
#include "shell/CommandView.h"

namespace tessimo {

CBrindelApp::CBrindelApp(ViewFactory makeView, QObject* parent)
    : QObject(parent), m_makeView(std::move(makeView)) {}

// The frame (and with it the view) goes before the document.
CBrindelApp::~CBrindelApp() {
    m_frame.reset();
    m_doc.reset();
}

bool CBrindelApp::initInstance(const QStringList& arguments) {
    m_doc = std::make_unique<CBrindelDoc>();
    const bool opened =
        arguments.isEmpty() ? m_doc->onNewDocument() : m_doc->onOpenDocument(arguments.first());
    if (!opened) {
        m_error = m_doc->errorText();
        return false;
    }

    m_frame = std::make_unique<CMainFrame>(m_makeView());
    connect(m_frame.get(), &CMainFrame::aboutRequested, this, &CBrindelApp::onAppAbout);
    m_frame->show();
    m_frame->update();
    m_frame->updateCommandStates(); // titles the window with the exercise and the user
    return true;
}

void CBrindelApp::onAppAbout() {
    CAboutDlg box(m_frame.get());
    box.exec();
}

} // namespace tessimo
