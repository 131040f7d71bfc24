#pragma once

#include <QPushButton>

// A command button painted from skin pictures: "imgs/btn_<id>_<state>.bmp"
// over the background colour, with the caption in white on top. The id is
// the control's "controlId" property. Without a picture the button still
// works and shows its caption on the plain background.
class CMyButton : public QPushButton {
    Q_OBJECT

public:
    enum State { Normal = 0, Pressed = 1, Disabled = 2 };

    explicit CMyButton(QWidget* parent = nullptr);
    CMyButton(int controlId, const QString& text, QWidget* parent = nullptr);

    // The picture state the button shows now.
    State paintState() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};
