// The application object: starts the program (document, main frame with its view), handles
// the About command and owns the sound output for the whole run. One exists, created by main
// after the QApplication. User-interface thread only.
#pragma once

#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>

namespace tessimo {

class CBrindelDoc;
class CMainFrame;
class CommandView;

class CBrindelApp : public QObject {
    Q_OBJECT
public:
    // Builds the view that goes into the main frame; called once by initInstance.
    using ViewFactory = std::function<CommandView*()>;

    explicit CBrindelApp(ViewFactory makeView, QObject* parent = nullptr);
    ~CBrindelApp() override;

    // Start-up: the document (new, or the file named by the one argument), the main frame
    // and its view; shows the window and titles it. Returns false when start-up must end
    // (errorText() says why).
    bool initInstance(const QStringList& arguments);

    CMainFrame* mainFrame() const { return m_frame.get(); }
    CBrindelDoc* document() const { return m_doc.get(); }
    QString errorText() const { return m_error; }

    // Shows the About box modally.
    void onAppAbout();

private:
    ViewFactory m_makeView;
    std::unique_ptr<CBrindelDoc> m_doc;
    std::unique_ptr<CMainFrame> m_frame;
    QString m_error;
};

} // namespace tessimo
