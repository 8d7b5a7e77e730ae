// The About box: the program's icon, name and version, and an OK button. Modal, built anew
// for each showing. User-interface thread only.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace tessimo {

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);

    QLabel* versionLabel() const { return m_version; }
    QPushButton* okButton() const { return m_ok; }

private:
    QLabel* m_version;
    QPushButton* m_ok;
};

} // namespace tessimo
