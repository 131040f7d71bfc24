#include "ui/speech/ttstextdlg.h"

#include "ui_ttstextdlg.h"

#include <QMenu>
#include <QTextCursor>

#include "controls/messagebox.h"
#include "media/player.h"
#include "schedule/speechjob.h"
#include "store/appstate.h"
#include "store/datastore.h"
#include "store/uitext.h"
#include "ui/schedule/ttslistdlg.h"
#include "ui/schedule/ttsstockseldlg.h"
#include "ui/speech/speechtextbox.h"
#include "ui/users/userlogin.h"

CTTSTextDlg::CTTSTextDlg(const DataStore& store, const AppState& state, const Player& player,
                         SpeechJob& job, const QString& title, const QString& text, QWidget* parent)
    : QDialog(parent), store_(store), state_(state), player_(player), job_(job),
      ui_(std::make_unique<Ui::CTTSTextDlg>()) {
    ui_->setupUi(this);
    ui_->titleEdit->setMaxLength(kMaxTitleLength);

    // The variable names are what the speech engine looks for; they are the
    // same in every language.
    auto* variables = new QMenu(ui_->variableButton);
    variables->setObjectName(QStringLiteral("VarList"));
    for (const char* name : {"%Name%", "%Date%", "%Time%", "%Week%"}) {
        const QString variable = QLatin1String(name);
        variables->addAction(variable, this, [this, variable] { appendVariable(variable); });
    }
    ui_->variableButton->setMenu(variables);

    connect(ui_->textEdit, &QPlainTextEdit::textChanged, this, &CTTSTextDlg::textChanged);
    connect(ui_->importButton, &QPushButton::clicked, this, &CTTSTextDlg::importScript);
    connect(ui_->listenButton, &QPushButton::clicked, this, &CTTSTextDlg::listen);
    connect(ui_->okButton, &QPushButton::clicked, this, &CTTSTextDlg::accept);
    connect(ui_->cancelButton, &QPushButton::clicked, this, &CTTSTextDlg::reject);

    ui_->titleEdit->setText(title);
    ui_->textEdit->setPlainText(text);
    textChanged();
}

CTTSTextDlg::~CTTSTextDlg() = default;

QString CTTSTextDlg::spokenText() const {
    QString text = ui_->textEdit->toPlainText();
    player_.speech().ExpandSpeechVariables(text);
    return text;
}

void CTTSTextDlg::textChanged() {
    KeepSpeechTextInStep(ui_->textEdit, kMaxTextLength, ui_->listenButton,
                         [this] { return spokenText(); });
}

void CTTSTextDlg::appendVariable(const QString& name) {
    // At the end, wherever the caret is: the operator builds the text in the
    // order it is spoken.
    QTextCursor cursor(ui_->textEdit->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(name);
}

void CTTSTextDlg::importScript() {
    CTTSStockSelDlg dialog(store_, this);
    if (dialog.exec() == QDialog::Accepted && dialog.selectedScript())
        ui_->textEdit->setPlainText(dialog.selectedScript()->text);
}

void CTTSTextDlg::listen() {
    if (RefuseWhileSpeaking(this, job_))
        return;
    // A preview is for the operator's ears: the transmitter stays as it is.
    job_.SpeakInstantText(ui_->textEdit->toPlainText(), false);
}

bool CTTSTextDlg::refuse(const QString& key, QWidget* focus) {
    MessageBox::showNotice(this, key, GetUiText(key));
    if (focus)
        focus->setFocus();
    return false;
}

void CTTSTextDlg::accept() {
    if (!IsAdministrator(state_)) {
        refuse(QStringLiteral("only_admin_role_to_exec"), nullptr);
        return;
    }
    const QString title = ui_->titleEdit->text();
    if (title.isEmpty()) {
        refuse(QStringLiteral("entry_tts_title"), ui_->titleEdit);
        return;
    }
    const QString text = ui_->textEdit->toPlainText();
    if (text.isEmpty()) {
        refuse(QStringLiteral("entry_tts_content"), ui_->textEdit);
        return;
    }
    // '|' would split the speech file's line; the text keeps its breaks.
    title_ = StorableText(title);
    text_ = StorableText(text, true);
    QDialog::accept();
}
