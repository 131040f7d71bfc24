// The plain-text form of the five data files: what each save writes and how
// each loaded line is read back.
#include "datastore.h"

#include "stringutils.h"

namespace {

const QString kLineEnd = QStringLiteral("\r\n");
const QString kDailyTimeSeparators = QStringLiteral(",;:*~/\\|");

QString num(int value) {
    return QString::number(quint32(value));
}

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

// Reads the '|'-separated fields after a prefix; missing fields are empty.
class Fields {
public:
    explicit Fields(const QString& rest) : buffer(rest) { cursor = buffer.data(); }
    QString text() { return TokenText(NextToken(&cursor, u'|')); }
    int number() { return TextToInt(text()); }

private:
    QString buffer;
    QChar* cursor;
};

// The text after `prefix`, or a null string when the line does not start with
// it or nothing follows it.
QString after(const QString& line, QLatin1StringView prefix) {
    if (!line.startsWith(prefix) || line.size() == prefix.size())
        return QString();
    return line.mid(prefix.size());
}

template <typename Task> void appendZones(QStringList& f, const Task& t) {
    f << num(t.group1On) << num(t.zones1) << num(t.group2On) << num(t.zones2) << num(t.group3On)
      << num(t.zones3);
}

template <typename Task> void readZones(Fields& f, Task& t) {
    t.group1On = f.number();
    t.zones1 = ZoneMask(f.number());
    t.group2On = f.number();
    t.zones2 = ZoneMask(f.number());
    t.group3On = f.number();
    t.zones3 = ZoneMask(f.number());
}

QString line(const char* prefix, const QStringList& fields) {
    return QLatin1String(prefix) + fields.join(u'|') + kLineEnd;
}

} // namespace

QString DataStore::SpeechFileText() const {
    QString text;
    for (const auto& t : speechTasks) {
        QStringList f{storedName(t->name), num(t->startDate), num(t->endDate),
                      num(t->startTime),   num(t->endTime),   num(t->interval),
                      num(t->weekdays),    num(t->effect),    t->bkMusic};
        appendZones(f, *t);
        f << storedText(t->text) << num(t->disabled) << num(t->preDelay) << num(t->postDelay);
        text += line("Task=", f);
    }
    for (const auto& s : scripts)
        text += line("Stock=", {storedName(s->title), storedText(s->text)});
    text += QStringLiteral("PlayEffect=") + num(playEffect) + kLineEnd;
    for (const auto& m : backgroundMusic)
        text += line("BkMusic=", {num(m->volume), m->path});
    return text;
}

QString DataStore::CategoryFileText() const {
    QString text;
    for (const auto& c : categories) {
        text += QStringLiteral("Stock=") + storedName(c->name) + kLineEnd;
        for (const QString& file : c->files)
            text += u'>' + file + kLineEnd;
    }
    return text;
}

QString DataStore::MusicTaskFileText() const {
    QString text;
    for (const auto& t : musicTasks) {
        QStringList f{storedName(t->name), num(t->startDate), num(t->endDate), num(t->startTime),
                      num(t->endTime),     num(t->weekdays),  num(t->volume),  num(t->playOrder)};
        appendZones(f, *t);
        f << num(t->disabled);
        text += line("Task=", f);
        for (const auto& item : t->items) {
            QString points;
            for (int i = 0; i < item->usedTimePoints(); ++i)
                points += num(item->timePoints[size_t(i)]) + u';';
            text += line(">", {num(item->kind), item->path, num(item->playCount), num(item->volume),
                               num(item->timeMode), num(item->rangeStart), num(item->rangeEnd),
                               num(item->interval), points, num(item->duration),
                               num(item->batchIndex), num(item->batchKey)});
        }
    }
    return text;
}

QString DataStore::UserFileText() const {
    QString text;
    for (const auto& user : users)
        text +=
            line("User=", {num(user->role), storedName(user->name), storedName(user->password)});
    return text;
}

QString DataStore::CommonFileText() const {
    QString daily;
    for (HhmmTime t : settings.dailyTime)
        daily += num(t) + u';';
    // Concatenated, not formatted: the name is the operator's text.
    return QStringLiteral("CurLanguage=") + QString::number(langIdForSave) + kLineEnd +
           QStringLiteral("EnterpriseName=") + storedName(settings.enterpriseName) + kLineEnd +
           QStringLiteral("TTSBackgroundVolume=") + QString::number(settings.ttsBackgroundVolume) +
           kLineEnd + QStringLiteral("DailyTime=") + daily + kLineEnd +
           QStringLiteral("SpeakDelay=") + QString::number(settings.speakDelay) + kLineEnd;
}

bool DataStore::ReadSpeechLine(const QString& line) {
    if (const QString rest = after(line, QLatin1StringView("Task=")); !rest.isNull()) {
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
    if (const QString rest = after(line, QLatin1StringView("Stock=")); !rest.isNull()) {
        Fields f(rest);
        SpeechScript s;
        s.title = loadedText(f.text());
        s.text = loadedText(f.text());
        AddScript(s);
        return true;
    }
    if (const QString rest = after(line, QLatin1StringView("BkMusic=")); !rest.isNull()) {
        Fields f(rest);
        SpeechBackgroundMusic m;
        m.volume = f.number();
        m.path = f.text();
        AddBackgroundMusic(m);
        return true;
    }
    if (const QString rest = after(line, QLatin1StringView("PlayEffect=")); !rest.isNull()) {
        playEffect = TextToInt(rest);
        return true;
    }
    return false;
}

bool DataStore::ReadCategoryLine(const QString& line) {
    if (const QString rest = after(line, QLatin1StringView("Stock=")); !rest.isNull()) {
        currentCategory = AddCategory(rest);
        return true;
    }
    if (const QString rest = after(line, QLatin1StringView(">")); !rest.isNull()) {
        if (currentCategory)
            currentCategory->files << rest;
        return true;
    }
    return false;
}

bool DataStore::ReadMusicTaskLine(const QString& line) {
    if (const QString rest = after(line, QLatin1StringView("Task=")); !rest.isNull()) {
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
    if (const QString rest = after(line, QLatin1StringView(">")); !rest.isNull()) {
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
        QString points = f.text();
        QChar* cursor = points.data();
        for (size_t slot = 0; slot < item->timePoints.size(); ++slot) {
            QChar* field = NextToken(&cursor, u';');
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
    const QString rest = after(line, QLatin1StringView("User="));
    if (rest.isNull())
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
