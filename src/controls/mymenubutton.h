#pragma once

#include <QPushButton>

// The login button: a push button that opens its menu (set with setMenu)
// when clicked and paints like any other button. A class of its own so the
// main window can find and style it apart from the skinned buttons.
class CMyMenuButton : public QPushButton {
    Q_OBJECT

public:
    explicit CMyMenuButton(QWidget* parent = nullptr);
    CMyMenuButton(int controlId, const QString& text, QWidget* parent = nullptr);
};
