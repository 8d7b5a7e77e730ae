#include "shell/dialogs/CProfile.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "model/UserName.h"
#include "shell/dialogs/ControlId.h"

namespace tessimo {

CProfile::CProfile(std::string directory, QWidget* parent)
    : QDialog(parent), directory_(std::move(directory)), list_(new QListWidget),
      edit_(new QLineEdit), message_(new QLabel) {
    setWindowTitle(tr("Profile Dialog"));
    setControlId(list_, UserList);
    setControlId(edit_, NameEdit);
    setControlId(message_, MessageLabel);

    auto* label = new QLabel(tr("Select or create a user"));
    label->setTextFormat(Qt::PlainText);
    label->setBuddy(list_);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setAccessibleName(tr("Users"));
    list_->setMinimumHeight(fontMetrics().height() * 5);
    edit_->setAccessibleName(tr("User name"));
    // The reason may quote a file or user name: never read it as markup.
    message_->setTextFormat(Qt::PlainText);
    message_->setWordWrap(true);
    message_->setStyleSheet(QStringLiteral("color: #b00020;"));
    message_->hide();

    auto* ok = new QPushButton(tr("OK"));
    auto* cancel = new QPushButton(tr("Cancel"));
    setControlId(ok, OkButton);
    setControlId(cancel, CancelButton);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &CProfile::accept);
    connect(cancel, &QPushButton::clicked, this, &CProfile::reject);

    // Choosing a user puts its name in the edit (emptied first, for a selection that ends).
    connect(list_, &QListWidget::itemSelectionChanged, this, [this] {
        edit_->clear();
        const QList<QListWidgetItem*> selected = list_->selectedItems();
        if (!selected.isEmpty()) {
            edit_->setText(selected.first()->text());
        }
    });
    connect(edit_, &QLineEdit::textEdited, message_, &QLabel::hide);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ok);
    buttons->addStretch(1);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(list_, 1);
    layout->addWidget(edit_);
    layout->addWidget(message_);
    layout->addLayout(buttons);
    setMinimumWidth(fontMetrics().horizontalAdvance(QLatin1Char('x')) * 40);

    setTabOrder(list_, edit_);
    setTabOrder(edit_, ok);
    setTabOrder(ok, cancel);
}

QWidget* CProfile::control(int id) const {
    return findChild<QWidget*>(QString::number(id));
}

int CProfile::exec() {
    message_->hide();
    message_->clear();
    edit_->setText(QString::fromStdString(userName_));
    QSignalBlocker blocker(list_); // filling the list is not a choice
    list_->clear();
    for (const std::string& user : listUsers(directory_)) {
        list_->addItem(QString::fromStdString(user));
    }
    blocker.unblock();
    edit_->setFocus();
    edit_->selectAll();
    return QDialog::exec();
}

void CProfile::accept() {
    const std::string name = edit_->text().toStdString();
    if (switch_) {
        ProfileSwitchResult result = switch_(name);
        if (!result.switched) {
            showMessage(QString::fromStdString(result.message));
            return;
        }
        lastSwitch_ = std::move(result);
    } else {
        const UserNameProblem problem = checkUserName(name);
        if (problem != UserNameProblem::None) {
            showMessage(QString::fromLatin1(describeUserNameProblem(problem)));
            return;
        }
    }
    userName_ = name;
    QDialog::accept();
}

void CProfile::showMessage(const QString& text) {
    message_->setText(text);
    message_->show();
    edit_->setFocus();
    edit_->selectAll();
}

} // namespace tessimo
