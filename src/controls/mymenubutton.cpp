#include "controls/mymenubutton.h"

#include "controls/skin.h"

CMyMenuButton::CMyMenuButton(QWidget* parent) : QPushButton(parent) {}

CMyMenuButton::CMyMenuButton(int controlId, const QString& text, QWidget* parent)
    : QPushButton(text, parent) {
    SetControlId(this, controlId);
}
