#include "ui/media/voicecombo.h"

int ComboVoiceList::count() const {
    return combo_ ? combo_->count() : 0;
}

QString ComboVoiceList::itemText(int index) const {
    return combo_ ? combo_->itemText(index) : QString();
}

QString ComboVoiceList::itemToken(int index) const {
    return combo_ ? combo_->itemData(index).toString() : QString();
}

void ComboVoiceList::addItem(const QString& text, const QString& token) {
    if (combo_)
        combo_->addItem(text, token);
}

void ComboVoiceList::setItemText(int index, const QString& text) {
    if (combo_)
        combo_->setItemText(index, text);
}

void ComboVoiceList::removeItem(int index) {
    if (combo_)
        combo_->removeItem(index);
}

int ComboVoiceList::currentIndex() const {
    return combo_ ? combo_->currentIndex() : -1;
}

void ComboVoiceList::setCurrentIndex(int index) {
    if (combo_)
        combo_->setCurrentIndex(index);
}
