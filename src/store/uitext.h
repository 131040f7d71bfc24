#pragma once

#include "support/uiformat.h"

#include <QList>
#include <QString>
#include <QVariant>

// The language of the UI texts, process-wide: 0 reads "string_chs.conf", any
// other value "string_eng.conf". The application sets it from "LangId".
void SetUiLanguage(int langId);
int UiLanguage();

// The text of `key` in the current language's text file (section "Global"),
// with every two-character sequence "\r" turned into a carriage return and
// every "\n" into a line feed. The file is read again on every call, so an
// edited text takes effect at the next lookup. A missing file or key gives the
// key itself.
QString GetUiText(const QString& key);

// Machine settings in "<program folder>/app.conf", section "Global".
// ReadConfig gives an empty text for a missing file or key; WriteConfig
// creates the file or the section when needed and reports whether the value
// was stored.
QString ReadConfig(const QString& key);
bool WriteConfig(const QString& key, const QString& text);

// The filter of the music file dialogs, in the form a Qt file dialog takes:
// "<music_file text> (<patterns>)". The patterns come from the setting
// "MusicFileExtension" (default "*.mp3; *.wmv; *.wav"), where they may be
// separated by ';' and blanks; here they are separated by single blanks, as
// in "Music files (*.mp3 *.wmv *.wav)". An empty setting gives
// "<music_file text> ()", a filter that offers no file.
QString MusicFileFilter();
