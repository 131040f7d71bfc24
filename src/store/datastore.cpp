#include "store/datastore.h"

#include <QDateTime>

#include <algorithm>

#include "store/clocktext.h"
#include "support/apppaths.h"
#include "support/clock.h"
#include "support/files.h"
#include "support/stringutils.h"

namespace {

template <typename T> bool keyLess(const T& a, const T& b) {
    if (a.startDate != b.startDate)
        return a.startDate < b.startDate;
    if (a.startTime != b.startTime)
        return a.startTime < b.startTime;
    return a.endTime < b.endTime;
}

// A new task goes after every task with the same key. Every list operation
// keeps the list in key order, so the place is found by halving.
template <typename T> int insertSorted(DataStore::List<T>& list, std::unique_ptr<T> task) {
    const auto at = std::upper_bound(
        list.begin(), list.end(), task,
        [](const std::unique_ptr<T>& a, const std::unique_ptr<T>& b) { return keyLess(*a, *b); });
    const auto index = at - list.begin();
    list.insert(at, std::move(task));
    return int(index);
}

template <typename T> std::unique_ptr<T> takeOut(DataStore::List<T>& list, const T* record) {
    for (auto it = list.begin(); it != list.end(); ++it) {
        if (it->get() == record) {
            std::unique_ptr<T> owned = std::move(*it);
            list.erase(it);
            return owned;
        }
    }
    return nullptr;
}

template <typename T> int indexOf(const DataStore::List<T>& list, const T* record) {
    for (size_t i = 0; i < list.size(); ++i) {
        if (list[i].get() == record)
            return int(i);
    }
    return -1;
}

} // namespace

DailyWindow CutToWorkingHours(HhmmTime start, HhmmTime end, const CommonSettings& settings,
                              int weekday) {
    DailyWindow window{start, end};
    const HhmmTime workStart = settings.dailyTime[size_t(2 * weekday)];
    const HhmmTime workEnd = settings.dailyTime[size_t(2 * weekday + 1)];
    if (workStart > 0 && workStart > window.start)
        window.start = workStart;
    if (workEnd > 0 && workEnd < window.end)
        window.end = workEnd;
    return window;
}

TaskMoment TaskMomentOf(const QDateTime& now) {
    const QDate date = now.date();
    const QTime time = now.time();
    return {DateToYmd(date), time.hour() * 100 + time.minute(), WeekdayOf(date)};
}

bool IsMusicTaskActiveNow(const MusicTask& task, const CommonSettings& settings,
                          const Clock& clock) {
    return !task.disabled && IsMusicTaskActiveAt(task, settings, TaskMomentOf(clock.now()));
}

bool IsMusicTaskActiveAt(const MusicTask& task, const CommonSettings& settings,
                         const TaskMoment& moment) {
    if (task.disabled)
        return false;
    const int g = moment.weekday;
    const DailyWindow window = CutToWorkingHours(task.startTime, task.endTime, settings, g);
    return task.startDate <= moment.today && moment.today <= task.endDate &&
           (task.weekdays & WeekdayBit(g)) && window.contains(moment.minute);
}

bool IsSpeechTaskActiveToday(const SpeechTask& task, const Clock& clock) {
    if (task.disabled)
        return false;
    const QDate date = clock.now().date();
    const YmdDate today = DateToYmd(date);
    return task.startDate <= today && today <= task.endDate &&
           (task.weekdays & WeekdayBit(WeekdayOf(date)));
}

DataStore::DataStore(const Clock& clock, const QString& dataFolder, const QString& tempFolder)
    : clock(clock),
      dataFolder(dataFolder.isEmpty() ? GetStationFolder() + QStringLiteral("/data") : dataFolder),
      tempFolder(tempFolder.isEmpty() ? this->dataFolder : tempFolder) {
    MakeDirectoryPath(this->dataFolder);
}

DataStore::~DataStore() = default;

void DataStore::LoadAll() {
    loading = 1;
    LoadSpeechFile();
    LoadCategoryFile();
    LoadMusicTaskFile();
    LoadUserFile();
    LoadCommonFile();
    loading = 0;
    const bool hasAdmin = std::any_of(users.begin(), users.end(), [](const auto& u) {
        return u->name == QLatin1String("Admin");
    });
    if (!hasAdmin)
        AddUser(UserAccount{QStringLiteral("Admin"), QStringLiteral("740286"), 1});
}

void DataStore::ClearAll() {
    users.clear();
    musicTasks.clear();
    categories.clear();
    speechTasks.clear();
    scripts.clear();
    backgroundMusic.clear();
    playEffect = 0;
}

UserAccount* DataStore::AddUser(const UserAccount& user) {
    users.push_back(std::make_unique<UserAccount>(user));
    UserAccount* added = users.back().get();
    SaveUserFile();
    return added;
}

UserAccount* DataStore::FindUser(const QString& name) const {
    for (auto it = users.rbegin(); it != users.rend(); ++it) {
        if ((*it)->name.compare(name, Qt::CaseInsensitive) == 0)
            return it->get();
    }
    return nullptr;
}

int DataStore::AddMusicTask(MusicTask&& task, MusicTask** added) {
    auto owned = std::make_unique<MusicTask>(std::move(task));
    owned->runState = 0;
    MusicTask* record = owned.get();
    const int index = insertSorted(musicTasks, std::move(owned));
    if (added)
        *added = record;
    SaveMusicTaskFile();
    return index;
}

std::unique_ptr<MusicTask> DataStore::RemoveMusicTask(MusicTask* task, bool destroy) {
    std::unique_ptr<MusicTask> owned = takeOut(musicTasks, task);
    if (!destroy)
        return owned;
    if (owned)
        SaveMusicTaskFile();
    return nullptr;
}

int DataStore::InsertMusicTask(std::unique_ptr<MusicTask> task) {
    return insertSorted(musicTasks, std::move(task));
}

MusicCategory* DataStore::AddCategory(const QString& name) {
    categories.push_back(std::make_unique<MusicCategory>(MusicCategory{name, {}}));
    MusicCategory* added = categories.back().get();
    SaveCategoryFile();
    return added;
}

void DataStore::RemoveCategory(MusicCategory* category) {
    if (takeOut(categories, category))
        SaveCategoryFile();
}

bool DataStore::RemoveCategoryFile(MusicCategory* category, const QString& path) {
    if (!category)
        return false;
    for (qsizetype i = 0; i < category->files.size(); ++i) {
        if (PathsEqual(category->files[i], path)) {
            category->files.removeAt(i);
            SaveCategoryFile();
            return true;
        }
    }
    return false;
}

int DataStore::AddSpeechTask(const SpeechTask& task, SpeechTask** added) {
    auto owned = std::make_unique<SpeechTask>(task);
    SpeechTask* record = owned.get();
    const int index = insertSorted(speechTasks, std::move(owned));
    if (added)
        *added = record;
    SaveSpeechFile();
    return index;
}

std::unique_ptr<SpeechTask> DataStore::RemoveSpeechTask(SpeechTask* task, bool destroy) {
    std::unique_ptr<SpeechTask> owned = takeOut(speechTasks, task);
    if (!destroy)
        return owned;
    if (owned)
        SaveSpeechFile();
    return nullptr;
}

int DataStore::InsertSpeechTask(std::unique_ptr<SpeechTask> task) {
    return insertSorted(speechTasks, std::move(task));
}

int DataStore::UpdateSpeechTask(SpeechTask* task, bool resort) {
    int index = 0;
    if (resort) {
        if (std::unique_ptr<SpeechTask> owned = takeOut(speechTasks, task))
            index = insertSorted(speechTasks, std::move(owned));
    }
    SaveSpeechFile();
    return index;
}

SpeechScript* DataStore::AddScript(const SpeechScript& script) {
    scripts.push_back(std::make_unique<SpeechScript>(script));
    SpeechScript* added = scripts.back().get();
    SaveSpeechFile();
    return added;
}

SpeechBackgroundMusic* DataStore::AddBackgroundMusic(const SpeechBackgroundMusic& music) {
    backgroundMusic.push_back(std::make_unique<SpeechBackgroundMusic>(music));
    SpeechBackgroundMusic* added = backgroundMusic.back().get();
    SaveSpeechFile();
    return added;
}

SpeechBackgroundMusic* DataStore::FindBackgroundMusic(const QString& path) const {
    if (path.isEmpty())
        return nullptr;
    for (auto it = backgroundMusic.rbegin(); it != backgroundMusic.rend(); ++it) {
        if (PathsEqual((*it)->path, path))
            return it->get();
    }
    return nullptr;
}

QString StorableText(const QString& text, bool multiLine) {
    QString stored = text;
    stored.replace(u'|', u' ');
    if (!multiLine) {
        stored.replace(QLatin1String("\r\n"), QLatin1String(" "));
        stored.replace(u'\r', u' ');
        stored.replace(u'\n', u' ');
    }
    return stored;
}

bool IsStorablePath(const QString& path) {
    return !path.contains(u'|') && !path.contains(u'\r') && !path.contains(u'\n');
}
