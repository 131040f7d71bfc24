#include "stationgen.h"

#include <QRegularExpression>

#include "store/datastore.h"

namespace {

constexpr int kMusicTasks = 300;
constexpr int kItemsPerTask = 8;
constexpr int kCategories = 60;
constexpr int kFilesPerCategory = 40;
constexpr int kSpeechTasks = 200;
constexpr int kScripts = 100;
constexpr int kUsers = 50;

QString tag(int generation, const char* what, int index) {
    return QStringLiteral("g") + QString::number(generation) + u' ' + QString::fromUtf8(what) +
           u' ' + QString::number(index);
}

QString path(int generation, int a, int b) {
    return QStringLiteral("/srv/音乐/第") + QString::number(generation) + QStringLiteral("代/") +
           QString::number(a) + QStringLiteral("/曲目 ") + QString::number(b) +
           QStringLiteral(".mp3");
}

} // namespace

const char* StationFileName(int file) {
    static const char* const kNames[] = {"ttsdata.sx", "mcatdata.sx", "mtskdata.sx", "usrdata.sx",
                                         "cmndata.sx"};
    return kNames[file];
}

void FillStation(DataStore& store, int generation) {
    // Equal dates and times keep every list in the order it was filled, so
    // the first record of each file is record 0.
    for (int i = 0; i < kSpeechTasks; ++i) {
        SpeechTask t;
        t.name = tag(generation, "广播", i);
        t.startDate = 20260101;
        t.endDate = 20261231;
        t.startTime = 800;
        t.endTime = 1700;
        t.interval = 30 + i % 30;
        t.weekdays = 0xF8;
        t.bkMusic = path(generation, i, 0);
        t.group1On = 1;
        t.zones1 = ZoneMask(i);
        t.text = tag(generation, "各位同学，早上好。现在是", i) +
                 QStringLiteral("\n%time%, please go to the hall.");
        t.preDelay = 2;
        store.AddSpeechTask(t);
    }
    for (int i = 0; i < kScripts; ++i)
        store.AddScript({tag(generation, "脚本", i), tag(generation, "两行\n文本", i)});
    store.playEffect = generation % 3;
    store.AddBackgroundMusic({path(generation, 0, 1), 60});
    store.AddBackgroundMusic({path(generation, 0, 2), 40});

    for (int c = 0; c < kCategories; ++c) {
        MusicCategory* category = store.AddCategory(tag(generation, "曲库", c));
        for (int f = 0; f < kFilesPerCategory; ++f)
            category->files << path(generation, c, f);
    }

    for (int i = 0; i < kMusicTasks; ++i) {
        MusicTask t;
        t.name = tag(generation, "午间音乐", i);
        t.startDate = 20260101;
        t.endDate = 20261231;
        t.startTime = 1130;
        t.endTime = 1330;
        t.weekdays = 0xF8;
        t.volume = 80;
        t.group2On = 1;
        t.zones2 = ZoneMask(0x81);
        for (int k = 0; k < kItemsPerTask; ++k) {
            auto item = std::make_unique<PlayItem>();
            item->kind = k % 2;
            item->path = path(generation, i, k);
            item->playCount = k + 1;
            item->timeMode = PlayItem::TimePoints;
            item->timePoints[0] = 1130 + k;
            item->timePoints[1] = 1300 + k;
            item->duration = 330;
            t.items.push_back(std::move(item));
        }
        store.AddMusicTask(std::move(t));
    }

    for (int i = 0; i < kUsers; ++i)
        store.AddUser({tag(generation, "值班", i), QString::number(100000 + i), i == 0 ? 1 : 0});

    store.settings.enterpriseName = tag(generation, "第一中学", 0);
    store.settings.ttsBackgroundVolume = 10 + generation % 50;
    for (int d = 0; d < 5; ++d) {
        store.settings.dailyTime[size_t(2 * d)] = 800;
        store.settings.dailyTime[size_t(2 * d + 1)] = 1700;
    }
    store.settings.speakDelay = 3;
}

bool SaveStationFile(DataStore& store, int file) {
    switch (file) {
    case SpeechFile:
        return store.SaveSpeechFile();
    case CategoryFile:
        return store.SaveCategoryFile();
    case MusicTaskFile:
        return store.SaveMusicTaskFile();
    case UserFile:
        return store.SaveUserFile();
    default:
        return store.SaveCommonFile();
    }
}

bool LoadStationFile(DataStore& store, int file) {
    switch (file) {
    case SpeechFile:
        return store.LoadSpeechFile();
    case CategoryFile:
        return store.LoadCategoryFile();
    case MusicTaskFile:
        return store.LoadMusicTaskFile();
    case UserFile:
        return store.LoadUserFile();
    default:
        return store.LoadCommonFile();
    }
}

QString StationFileText(const DataStore& store, int file) {
    switch (file) {
    case SpeechFile:
        return store.SpeechFileText();
    case CategoryFile:
        return store.CategoryFileText();
    case MusicTaskFile:
        return store.MusicTaskFileText();
    case UserFile:
        return store.UserFileText();
    default:
        return store.CommonFileText();
    }
}

int GenerationOf(const DataStore& store, int file) {
    QString first;
    switch (file) {
    case SpeechFile:
        first = store.speechTasks.empty() ? QString() : store.speechTasks.front()->name;
        break;
    case CategoryFile:
        first = store.categories.empty() ? QString() : store.categories.front()->name;
        break;
    case MusicTaskFile:
        first = store.musicTasks.empty() ? QString() : store.musicTasks.front()->name;
        break;
    case UserFile:
        first = store.users.empty() ? QString() : store.users.front()->name;
        break;
    default:
        first = store.settings.enterpriseName;
        break;
    }
    static const QRegularExpression generation(QStringLiteral("^g(\\d+) "));
    const QRegularExpressionMatch m = generation.match(first);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}
