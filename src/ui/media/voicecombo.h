#pragma once

#include <QComboBox>
#include <QPointer>

#include "media/voicelist.h"

// A combo box as a voice list: the item data holds the voice token. A combo
// box that has gone away reads as an empty list.
class ComboVoiceList : public VoiceChoiceList {
public:
    explicit ComboVoiceList(QComboBox* combo) : combo_(combo) {}

    int count() const override;
    QString itemText(int index) const override;
    QString itemToken(int index) const override;
    void addItem(const QString& text, const QString& token) override;
    void setItemText(int index, const QString& text) override;
    void removeItem(int index) override;
    int currentIndex() const override;
    void setCurrentIndex(int index) override;

    QComboBox* combo() const { return combo_; }

private:
    QPointer<QComboBox> combo_;
};
