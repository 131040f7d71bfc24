#include "ui/schedule/ttsstockseldlg.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "controls/fonts.h"
#include "controls/listutils.h"
#include "store/datastore.h"
#include "store/uitext.h"

namespace {} // namespace

CTTSStockSelDlg::CTTSStockSelDlg(const DataStore& store, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("CTTSStockSelDlg"));
    setWindowTitle(tr("选择播音文稿"));
    setModal(true);

    auto* label = new QLabel(tr("播音文稿列表："), this);
    label->setObjectName(QStringLiteral("scriptListLabel"));

    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("scriptList"));
    SetUpReportList(list_);
    ShowGridLines(list_);
    list_->setHeaderLabels({QString(), GetUiText(QStringLiteral("tts_title")),
                            GetUiText(QStringLiteral("tts_content"))});
    list_->header()->setStretchLastSection(true);
    list_->setColumnWidth(0, 40);
    list_->setColumnWidth(1, 200);
    list_->setColumnWidth(2, 400);

    for (const auto& script : store.scripts) {
        auto* row = new QTreeWidgetItem(list_);
        // One line per script: a text with line breaks shows them as blanks.
        QString text = script->text;
        text.replace(QLatin1String("\r\n"), QLatin1String(" "));
        text.replace(QLatin1Char('\n'), QLatin1Char(' '));
        text.replace(QLatin1Char('\r'), QLatin1Char(' '));
        row->setText(1, script->title);
        row->setText(2, text);
        row->setToolTip(2, script->text);
        row->setData(0, Qt::UserRole, QVariant::fromValue<void*>(script.get()));
    }
    NumberListRows(list_);
    list_->setColumnWidth(0, 40);

    okButton_ = new QPushButton(tr("确认"), this);
    okButton_->setObjectName(QStringLiteral("okButton"));
    okButton_->setEnabled(false);
    okButton_->setAutoDefault(false);
    auto* cancelButton = new QPushButton(tr("取消"), this);
    cancelButton->setObjectName(QStringLiteral("cancelButton"));
    cancelButton->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(okButton_);
    buttons->addWidget(cancelButton);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(list_, 1);
    layout->addLayout(buttons);
    resize(700, 420);

    connect(list_, &QTreeWidget::itemSelectionChanged, this,
            [this] { okButton_->setEnabled(selectedRowScript() != nullptr); });
    connect(list_, &QTreeWidget::itemDoubleClicked, this, [this] { confirm(); });
    connect(okButton_, &QPushButton::clicked, this, [this] { confirm(); });
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

SpeechScript* CTTSStockSelDlg::selectedRowScript() const {
    const QList<QTreeWidgetItem*> rows = list_->selectedItems();
    if (rows.isEmpty())
        return nullptr;
    return static_cast<SpeechScript*>(rows.first()->data(0, Qt::UserRole).value<void*>());
}

void CTTSStockSelDlg::confirm() {
    SpeechScript* script = selectedRowScript();
    if (!script)
        return;
    chosen_ = script;
    accept();
}
