#pragma once

#include <QString>

#include <functional>

class QAbstractButton;
class QPlainTextEdit;

// Keeps a speech text box within `maxLength` characters (what goes beyond is
// cut off; the cut reports a change of its own) and its listen button in step
// with it: enabled only while there is text, with the text as it will be said
// (`spoken`, variables expanded) as its tooltip.
void KeepSpeechTextInStep(QPlainTextEdit* edit, int maxLength, QAbstractButton* listen,
                          const std::function<QString()>& spoken);
