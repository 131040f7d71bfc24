#pragma once

#include <QFont>

// The three interface fonts shared by the whole program: the buttons, the
// main window's labels and the report lists of the panels. Each is made on
// first use (an application object must exist by then) and kept until the
// program ends.
//
// The normal font is the application's message-box font. Western faces are
// replaced by "Tahoma" when that face is installed, because the skins were
// laid out for it; a face that can show Chinese, Japanese or Korean is kept,
// since Tahoma has no such glyphs. Without Tahoma the message font is kept.
const QFont& NormalFont();
// The normal font with bold weight.
const QFont& BoldFont();
// The normal font at (size + 1) * 4 / 5, in whichever unit (pixels or
// points) the normal font is given.
const QFont& SmallFont();
