#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class CMusicFolderNameDlg;
}

// Asks for a category's name: at most 60 characters, not empty; a '|' (the
// data files' field separator) becomes a blank.
class CMusicFolderNameDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr int kMaxNameLength = 60;

    explicit CMusicFolderNameDlg(const QString& name, QWidget* parent = nullptr);
    ~CMusicFolderNameDlg() override;

    // The name as confirmed; the given one before that.
    QString name() const { return name_; }

public slots:
    void accept() override;

private:
    std::unique_ptr<Ui::CMusicFolderNameDlg> ui_;
    QString name_;
};
