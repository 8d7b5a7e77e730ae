// The profile dialog: lists the users found in the working folder, lets the user pick one or
// type a new name, and on OK hands the name to the switch function, which does the file side
// (switchProfile). When the switch is refused the dialog shows why and stays open.
//
// Use: keep one CProfile for the program's life; its userName() is the current user. For the
// Profile command call setSwitch(...) once, then exec(); on QDialog::Accepted the switch has
// happened and lastSwitch() holds its result (the template flags to rebuild the notes from).
// User-interface thread only.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

#include <functional>
#include <string>

#include "model/ProfileSwitch.h"

namespace tessimo {

class CProfile : public QDialog {
    Q_OBJECT
public:
    static constexpr int UserList = 1307;
    static constexpr int NameEdit = 1308;
    static constexpr int MessageLabel = 1309; // why a name was refused
    static constexpr int OkButton = 1;
    static constexpr int CancelButton = 2;

    // Makes userName the current user, or says why not (result.switched false).
    using Switch = std::function<ProfileSwitchResult(const std::string& userName)>;

    // directory: the folder whose "config*.dat" files name the users ("" is the working
    // folder).
    explicit CProfile(std::string directory = std::string(), QWidget* parent = nullptr);

    void setSwitch(Switch change) { switch_ = std::move(change); }

    // The current user; "" is the default user.
    const std::string& userName() const { return userName_; }
    void setUserName(std::string name) { userName_ = std::move(name); }

    const ProfileSwitchResult& lastSwitch() const { return lastSwitch_; }

    // Fills the list and the edit, then runs the dialog modally.
    int exec() override;

    // OK: the edit's text goes to the switch; on success it becomes the user name and the
    // dialog closes, else the reason shows under the edit and the dialog stays open. Without
    // a switch function the name is only checked (checkUserName).
    void accept() override;

    QWidget* control(int id) const;

private:
    void showMessage(const QString& text);

    std::string directory_;
    std::string userName_;
    Switch switch_;
    ProfileSwitchResult lastSwitch_;
    QListWidget* list_;
    QLineEdit* edit_;
    QLabel* message_;
};

} // namespace tessimo
