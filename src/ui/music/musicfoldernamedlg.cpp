#include "ui/music/musicfoldernamedlg.h"

#include "ui_musicfoldernamedlg.h"

#include "controls/messagebox.h"
#include "store/uitext.h"

CMusicFolderNameDlg::CMusicFolderNameDlg(const QString& name, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::CMusicFolderNameDlg>()), name_(name) {
    ui_->setupUi(this);
    ui_->nameEdit->setMaxLength(kMaxNameLength);
    ui_->nameEdit->setText(name);
    ui_->nameEdit->selectAll();
    connect(ui_->okButton, &QPushButton::clicked, this, &CMusicFolderNameDlg::accept);
    connect(ui_->cancelButton, &QPushButton::clicked, this, &CMusicFolderNameDlg::reject);
}

CMusicFolderNameDlg::~CMusicFolderNameDlg() = default;

void CMusicFolderNameDlg::accept() {
    QString name = ui_->nameEdit->text().left(kMaxNameLength);
    if (name.isEmpty()) {
        const QString key = QStringLiteral("entry_category_name");
        MessageBox::showNotice(this, key, GetUiText(key));
        ui_->nameEdit->setFocus();
        return;
    }
    name.replace(u'|', u' ');
    name_ = name;
    QDialog::accept();
}
