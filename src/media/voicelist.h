#pragma once

#include <QList>
#include <QString>

// A drop-down list of voices as the speech engine sees it: items with a
// display text and the token of the voice they stand for, and a selection.
// The user interface wraps its combo boxes in it; PlainVoiceList serves where
// there is no widget.
class VoiceChoiceList {
public:
    virtual ~VoiceChoiceList() = default;

    virtual int count() const = 0;
    virtual QString itemText(int index) const = 0;
    virtual QString itemToken(int index) const = 0;
    virtual void addItem(const QString& text, const QString& token) = 0;
    // Changes the text of an item, keeping its token.
    virtual void setItemText(int index, const QString& text) = 0;
    virtual void removeItem(int index) = 0;
    // -1 when nothing is selected.
    virtual int currentIndex() const = 0;
    virtual void setCurrentIndex(int index) = 0;
};

class PlainVoiceList : public VoiceChoiceList {
public:
    int count() const override { return int(items.size()); }
    QString itemText(int index) const override;
    QString itemToken(int index) const override;
    void addItem(const QString& text, const QString& token) override;
    void setItemText(int index, const QString& text) override;
    void removeItem(int index) override;
    int currentIndex() const override { return current; }
    void setCurrentIndex(int index) override;

private:
    struct Item {
        QString text;
        QString token;
    };
    QList<Item> items;
    int current = -1;
};
