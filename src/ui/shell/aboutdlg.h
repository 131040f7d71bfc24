#pragma once

#include <QDialog>

#include <memory>

class TransmitterLink;

namespace Ui {
class CAboutDlg;
}

// The About box: the program's enterprise comment and, while a transmitter
// is connected, its product lines and capabilities ("none" otherwise).
class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    explicit CAboutDlg(const TransmitterLink& link, QWidget* parent = nullptr);
    ~CAboutDlg() override;

    // What the three fields show, line ends as "\n" (the two transmitter
    // texts as the link composed them; the box shows them as tables).
    QString commentText() const;
    QString productText() const;
    QString deviceText() const;

private:
    std::unique_ptr<Ui::CAboutDlg> ui_;
    QString productText_;
    QString deviceText_;
};
