// The About box: the program's icon, name and version, copyright, licence and the libraries
// it is built on, and an OK button. Modal, built anew for each showing. User-interface thread
// only.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace tessimo {

// The sentence naming the libraries and their versions.
QString aboutLibrariesText();

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);

    QLabel* versionLabel() const { return m_version; }
    QLabel* copyrightLabel() const { return m_copyright; }
    QLabel* licenceLabel() const { return m_licence; }
    QLabel* librariesLabel() const { return m_libraries; }
    QPushButton* okButton() const { return m_ok; }

private:
    QLabel* m_version;
    QLabel* m_copyright;
    QLabel* m_licence;
    QLabel* m_libraries;
    QPushButton* m_ok;
};

} // namespace tessimo
