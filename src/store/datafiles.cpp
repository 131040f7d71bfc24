// The plain-text form of the five data files: what each save writes and how
// each loaded line is read back.
#include "store/datastore.h"

#include <algorithm>
#include <iterator>

#include "support/stringutils.h"

namespace {

const QString kDailyTimeSeparators = QStringLiteral(",;:*~/\\|");

// A number field written with "%u", and one written with "%d" (the common
// settings).
struct Unsigned {
    int value;
};
struct Signed {
    int value;
};

// The used time points of an item, each followed by ';'.
struct TimePoints {
    const PlayItem& item;
};

// Writes the text of a data file into one string, character by character
// where they belong: each line is measured first (a number takes at most 11
// characters), and the string grows only when a line would not fit in what
// is left of it.
class TextWriter {
public:
    explicit TextWriter(qsizetype expected) {
        text.resize(std::max<qsizetype>(expected, 1));
        cursor = text.data();
        end = cursor + text.size();
    }

    // One record line: the prefix, the fields separated by '|', and CR LF.
    template <typename First, typename... Rest>
    void line(QLatin1StringView prefix, const First& first, const Rest&... rest) {
        const qsizetype room = prefix.size() + roomFor(first) + (0 + ... + roomFor(rest)) +
                               qsizetype(sizeof...(rest)) + 2;
        if (end - cursor < room)
            makeRoom(room);
        put(prefix);
        put(first);
        ((*cursor++ = u'|', put(rest)), ...);
        *cursor++ = u'\r';
        *cursor++ = u'\n';
    }

    QString take() {
        text.truncate(cursor - text.constData());
        return std::move(text);
    }

private:
    static qsizetype roomFor(const QString& field) { return field.size(); }
    static qsizetype roomFor(Unsigned) { return 10; }
    static qsizetype roomFor(Signed) { return 11; }
    static qsizetype roomFor(TimePoints) { return kTimePointSlots * 11; }

    void put(QLatin1StringView prefix) {
        for (char c : prefix)
            *cursor++ = QLatin1Char(c);
    }
    void put(const QString& field) {
        std::copy(field.cbegin(), field.cend(), cursor);
        cursor += field.size();
    }
    void put(Unsigned number) { putNumber(quint32(number.value)); }
    void put(Signed number) { putNumber(number.value); }
    void put(TimePoints points) {
        for (int i = 0; i < points.item.usedTimePoints(); ++i) {
            putNumber(quint32(points.item.timePoints[size_t(i)]));
            *cursor++ = u';';
        }
    }
    void putNumber(qint64 value) {
        char16_t digits[20];
        char16_t* const last = digits + std::size(digits);
        char16_t* p = last;
        quint64 rest = value < 0 ? 0 - quint64(value) : quint64(value);
        do {
            *--p = char16_t(u'0' + rest % 10);
            rest /= 10;
        } while (rest != 0);
        if (value < 0)
            *cursor++ = u'-';
        cursor = std::copy(p, last, cursor);
    }

    // Room for `room` more characters, at least doubling the string.
    void makeRoom(qsizetype room) {
        const qsizetype used = cursor - text.constData();
        text.resize(used + std::max(used, room));
        cursor = text.data() + used;
        end = cursor + (text.size() - used);
    }

    QString text;
    QChar* cursor = nullptr;
    const QChar* end = nullptr;
};

// A line break inside a multi-line text is kept as a lone carriage return,
// which the line reader leaves inside the line. Whatever would still break
// the record is made harmless here, the last place before the file.
QString storedText(const QString& text) {
    QString stored = StorableText(text, true);
    stored.replace(QLatin1String("\r\n"), QLatin1String("\r"));
    stored.replace(u'\n', u'\r');
    return stored;
}

QString storedName(const QString& name) {
    return StorableText(name);
}

QString loadedText(const QString& field) {
    QString text = field;
    text.replace(u'\r', u'\n');
    return text;
}

// Reads the '|'-separated fields after a prefix from one copy of them, cut
// in place; missing fields are empty (a NUL ends the fields, as it ends the
// text they were read from).
class Fields {
public:
    explicit Fields(QStringView rest) : buffer(rest.toString()) { cursor = buffer.data(); }
    QChar* next() { return NextToken(&cursor, u'|'); }
    QString text() { return TokenText(next()); }
    int number() { return TextToInt(next()); }

private:
    QString buffer;
    QChar* cursor;
};

// The text after `prefix`; empty when the line does not start with it or
// nothing follows it.
QStringView after(const QString& line, QLatin1StringView prefix) {
    if (!line.startsWith(prefix) || line.size() == prefix.size())
        return {};
    return QStringView(line).mid(prefix.size());
}

template <typename Task> void readZones(Fields& f, Task& t) {
    t.group1On = f.number();
    t.zones1 = ZoneMask(f.number());
    t.group2On = f.number();
    t.zones2 = ZoneMask(f.number());
    t.group3On = f.number();
    t.zones3 = ZoneMask(f.number());
}

} // namespace

// Each text is built in one string, sized up front from the records: their
// texts plus a generous allowance for the numbers of each line.
QString DataStore::SpeechFileText() const {
    qsizetype size = 64 + qsizetype(scripts.size() + backgroundMusic.size()) * 32;
    for (const auto& t : speechTasks)
        size += 256 + t->name.size() + t->bkMusic.size() + t->text.size();
    for (const auto& s : scripts)
        size += s->title.size() + s->text.size();
    for (const auto& m : backgroundMusic)
        size += m->path.size();
    TextWriter text(size);
    for (const auto& t : speechTasks) {
        text.line(QLatin1StringView("Task="), storedName(t->name), Unsigned{t->startDate},
                  Unsigned{t->endDate}, Unsigned{t->startTime}, Unsigned{t->endTime},
                  Unsigned{t->interval}, Unsigned{t->weekdays}, Unsigned{t->effect}, t->bkMusic,
                  Unsigned{t->group1On}, Unsigned{t->zones1}, Unsigned{t->group2On},
                  Unsigned{t->zones2}, Unsigned{t->group3On}, Unsigned{t->zones3},
                  storedText(t->text), Unsigned{t->disabled}, Unsigned{t->preDelay},
                  Unsigned{t->postDelay});
    }
    for (const auto& s : scripts)
        text.line(QLatin1StringView("Stock="), storedName(s->title), storedText(s->text));
    text.line(QLatin1StringView("PlayEffect="), Unsigned{playEffect});
    for (const auto& m : backgroundMusic)
        text.line(QLatin1StringView("BkMusic="), Unsigned{m->volume}, m->path);
    return text.take();
}

QString DataStore::CategoryFileText() const {
    qsizetype size = 0;
    for (const auto& c : categories) {
        size += c->name.size() + 8;
        for (const QString& file : c->files)
            size += file.size() + 3;
    }
    TextWriter text(size);
    for (const auto& c : categories) {
        text.line(QLatin1StringView("Stock="), storedName(c->name));
        for (const QString& file : c->files)
            text.line(QLatin1StringView(">"), file);
    }
    return text.take();
}

QString DataStore::MusicTaskFileText() const {
    qsizetype size = 0;
    for (const auto& t : musicTasks) {
        size += t->name.size() + 128;
        for (const auto& item : t->items)
            size += item->path.size() + 96;
    }
    TextWriter text(size);
    for (const auto& t : musicTasks) {
        text.line(QLatin1StringView("Task="), storedName(t->name), Unsigned{t->startDate},
                  Unsigned{t->endDate}, Unsigned{t->startTime}, Unsigned{t->endTime},
                  Unsigned{t->weekdays}, Unsigned{t->volume}, Unsigned{t->playOrder},
                  Unsigned{t->group1On}, Unsigned{t->zones1}, Unsigned{t->group2On},
                  Unsigned{t->zones2}, Unsigned{t->group3On}, Unsigned{t->zones3},
                  Unsigned{t->disabled});
        for (const auto& item : t->items) {
            text.line(QLatin1StringView(">"), Unsigned{item->kind}, item->path,
                      Unsigned{item->playCount}, Unsigned{item->volume}, Unsigned{item->timeMode},
                      Unsigned{item->rangeStart}, Unsigned{item->rangeEnd},
                      Unsigned{item->interval}, TimePoints{*item}, Unsigned{item->duration},
                      Unsigned{item->batchIndex}, Unsigned{item->batchKey});
        }
    }
    return text.take();
}

QString DataStore::UserFileText() const {
    qsizetype size = 0;
    for (const auto& user : users)
        size += 24 + user->name.size() + user->password.size();
    TextWriter text(size);
    for (const auto& user : users)
        text.line(QLatin1StringView("User="), Unsigned{user->role}, storedName(user->name),
                  storedName(user->password));
    return text.take();
}

QString DataStore::CommonFileText() const {
    QString daily;
    for (HhmmTime t : settings.dailyTime)
        daily += QString::number(quint32(t)) + u';';
    // Written field by field, not formatted: the name is the operator's text.
    TextWriter text(256 + settings.enterpriseName.size());
    text.line(QLatin1StringView("CurLanguage="), Signed{langIdForSave});
    text.line(QLatin1StringView("EnterpriseName="), storedName(settings.enterpriseName));
    text.line(QLatin1StringView("TTSBackgroundVolume="), Signed{settings.ttsBackgroundVolume});
    text.line(QLatin1StringView("DailyTime="), daily);
    text.line(QLatin1StringView("SpeakDelay="), Signed{settings.speakDelay});
    return text.take();
}

bool DataStore::ReadSpeechLine(const QString& line) {
    if (const QStringView rest = after(line, QLatin1StringView("Task=")); !rest.isEmpty()) {
        Fields f(rest);
        SpeechTask t;
        t.name = loadedText(f.text());
        t.startDate = f.number();
        t.endDate = f.number();
        t.startTime = f.number();
        t.endTime = f.number();
        t.interval = f.number();
        t.weekdays = WeekdayMask(f.number());
        t.effect = f.number();
        t.bkMusic = f.text();
        readZones(f, t);
        t.text = loadedText(f.text());
        t.disabled = f.number();
        t.preDelay = f.number();
        t.postDelay = f.number();
        AddSpeechTask(t);
        return true;
    }
    if (const QStringView rest = after(line, QLatin1StringView("Stock=")); !rest.isEmpty()) {
        Fields f(rest);
        SpeechScript s;
        s.title = loadedText(f.text());
        s.text = loadedText(f.text());
        AddScript(s);
        return true;
    }
    if (const QStringView rest = after(line, QLatin1StringView("BkMusic=")); !rest.isEmpty()) {
        Fields f(rest);
        SpeechBackgroundMusic m;
        m.volume = f.number();
        m.path = f.text();
        AddBackgroundMusic(m);
        return true;
    }
    if (const QStringView rest = after(line, QLatin1StringView("PlayEffect=")); !rest.isEmpty()) {
        playEffect = TextToInt(rest.toString());
        return true;
    }
    return false;
}

bool DataStore::ReadCategoryLine(const QString& line) {
    if (const QStringView rest = after(line, QLatin1StringView("Stock=")); !rest.isEmpty()) {
        currentCategory = AddCategory(rest.toString());
        return true;
    }
    if (const QStringView rest = after(line, QLatin1StringView(">")); !rest.isEmpty()) {
        if (currentCategory)
            currentCategory->files << rest.toString();
        return true;
    }
    return false;
}

bool DataStore::ReadMusicTaskLine(const QString& line) {
    if (const QStringView rest = after(line, QLatin1StringView("Task=")); !rest.isEmpty()) {
        Fields f(rest);
        MusicTask t;
        t.name = loadedText(f.text());
        t.startDate = f.number();
        t.endDate = f.number();
        t.startTime = f.number();
        t.endTime = f.number();
        t.weekdays = WeekdayMask(f.number());
        t.volume = f.number();
        t.playOrder = f.number();
        readZones(f, t);
        t.disabled = f.number();
        AddMusicTask(std::move(t), &currentTask);
        return true;
    }
    if (const QStringView rest = after(line, QLatin1StringView(">")); !rest.isEmpty()) {
        if (!currentTask)
            return true;
        Fields f(rest);
        auto item = std::make_unique<PlayItem>();
        item->kind = f.number();
        item->path = f.text();
        item->playCount = f.number();
        item->volume = f.number();
        item->timeMode = f.number();
        item->rangeStart = f.number();
        item->rangeEnd = f.number();
        item->interval = f.number();
        QChar* points = f.next(); // cut further in place
        for (size_t slot = 0; slot < item->timePoints.size(); ++slot) {
            QChar* field = NextToken(&points, u';');
            if (!field)
                break;
            item->timePoints[slot] = TextToInt(field);
        }
        item->duration = f.number();
        item->batchIndex = f.number();
        item->batchKey = f.number();
        currentTask->items.push_back(std::move(item));
        return true;
    }
    return false;
}

bool DataStore::ReadUserLine(const QString& line) {
    const QStringView rest = after(line, QLatin1StringView("User="));
    if (rest.isEmpty())
        return false;
    Fields f(rest);
    UserAccount user;
    user.role = f.number();
    user.name = f.text();
    user.password = f.text();
    AddUser(user);
    return true;
}

bool DataStore::ReadCommonLine(const QString& line) {
    const qsizetype eq = line.indexOf(u'=');
    const QString key = eq < 0 ? line : line.left(eq);
    const QString value = eq < 0 ? QString() : line.mid(eq + 1);
    if (key == QLatin1String("CurLanguage")) {
        // The language comes from the configuration file.
    } else if (key == QLatin1String("EnterpriseName")) {
        settings.enterpriseName = loadedText(value);
    } else if (key == QLatin1String("TTSBackgroundVolume")) {
        settings.ttsBackgroundVolume = TextToInt(value);
    } else if (key == QLatin1String("DailyTime")) {
        const QChar* p = value.isEmpty() ? nullptr : value.constData();
        for (HhmmTime& t : settings.dailyTime) {
            int v = 0;
            if (p && !p->isNull())
                p = ParseNumberField(p, kDailyTimeSeparators, &v);
            t = v;
        }
    } else if (key == QLatin1String("SpeakDelay")) {
        settings.speakDelay = TextToInt(value);
    } else {
        return false;
    }
    return true;
}
