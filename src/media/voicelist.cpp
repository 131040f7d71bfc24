#include "media/voicelist.h"

QString PlainVoiceList::itemText(int index) const {
    return index >= 0 && index < count() ? items[index].text : QString();
}

QString PlainVoiceList::itemToken(int index) const {
    return index >= 0 && index < count() ? items[index].token : QString();
}

void PlainVoiceList::addItem(const QString& text, const QString& token) {
    items.append({text, token});
}

void PlainVoiceList::setItemText(int index, const QString& text) {
    if (index >= 0 && index < count())
        items[index].text = text;
}

void PlainVoiceList::removeItem(int index) {
    if (index < 0 || index >= count())
        return;
    items.removeAt(index);
    // A removed selection leaves nothing selected; later items move up.
    if (index == current)
        current = -1;
    else if (index < current)
        --current;
}

void PlainVoiceList::setCurrentIndex(int index) {
    current = index >= 0 && index < count() ? index : -1;
}
