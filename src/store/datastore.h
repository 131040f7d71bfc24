#pragma once

#include <QString>

#include <functional>
#include <memory>
#include <vector>

#include "store/records.h"

class Clock;
class QDateTime;

// Everything the station keeps between runs. One instance for the whole run;
// every list owns its records, and pointers handed out stay valid until the
// record is removed. Each list change rewrites the data file that holds it.
class DataStore {
public:
    template <typename T> using List = std::vector<std::unique_ptr<T>>;

    // Makes sure the data folder exists (by default "<program folder>/data").
    // The clock stamps the copies kept of data files that could not be read.
    // A separate temporary folder keeps the store's plain text away from a
    // station that uses the same data folder (inspection tools).
    explicit DataStore(const Clock& clock, const QString& dataFolder = QString(),
                       const QString& tempFolder = QString());
    ~DataStore();
    DataStore(const DataStore&) = delete;
    DataStore& operator=(const DataStore&) = delete;

    // Members in their given order.
    int loading = 0;
    CommonSettings settings;
    List<UserAccount> users;
    List<MusicTask> musicTasks;
    List<MusicCategory> categories;
    List<SpeechTask> speechTasks;
    List<SpeechScript> scripts;
    int playEffect = 0;
    List<SpeechBackgroundMusic> backgroundMusic;

    // The language written into the common file ("CurLanguage"); it belongs
    // to the application and is only recorded here.
    int langIdForSave = 0;

    void LoadAll();
    void ClearAll();

    UserAccount* AddUser(const UserAccount& user);
    UserAccount* FindUser(const QString& name) const;

    // Takes over the task's items; returns the index where it was inserted.
    int AddMusicTask(MusicTask&& task, MusicTask** added = nullptr);
    // With destroy the task is freed and the file saved; without it the task
    // is handed back unsaved, to be re-inserted with InsertMusicTask.
    std::unique_ptr<MusicTask> RemoveMusicTask(MusicTask* task, bool destroy);
    int InsertMusicTask(std::unique_ptr<MusicTask> task);

    MusicCategory* AddCategory(const QString& name);
    void RemoveCategory(MusicCategory* category);
    bool RemoveCategoryFile(MusicCategory* category, const QString& path);

    int AddSpeechTask(const SpeechTask& task, SpeechTask** added = nullptr);
    std::unique_ptr<SpeechTask> RemoveSpeechTask(SpeechTask* task, bool destroy);
    int InsertSpeechTask(std::unique_ptr<SpeechTask> task);
    int UpdateSpeechTask(SpeechTask* task, bool resort);

    SpeechScript* AddScript(const SpeechScript& script);
    SpeechBackgroundMusic* AddBackgroundMusic(const SpeechBackgroundMusic& music);
    SpeechBackgroundMusic* FindBackgroundMusic(const QString& path) const;

    // The five data files: each save rewrites one whole file; while loading
    // is set a save does nothing and reports success.
    bool SaveSpeechFile();
    bool SaveCategoryFile();
    bool SaveMusicTaskFile();
    bool SaveUserFile();
    bool SaveCommonFile();
    bool LoadSpeechFile();
    bool LoadCategoryFile();
    bool LoadMusicTaskFile();
    bool LoadUserFile();
    bool LoadCommonFile();

    // The plain text of each file, as saved.
    QString SpeechFileText() const;
    QString CategoryFileText() const;
    QString MusicTaskFileText() const;
    QString UserFileText() const;
    QString CommonFileText() const;

    // Line handlers of each file, as loaded; unknown lines are ignored.
    // Return true when the line was recognised.
    bool ReadSpeechLine(const QString& line);
    bool ReadCategoryLine(const QString& line);
    bool ReadMusicTaskLine(const QString& line);
    bool ReadUserLine(const QString& line);
    bool ReadCommonLine(const QString& line);

    const QString& DataFolder() const { return dataFolder; }

    // Whether the station can save here: the data folder takes new files and
    // every existing data file can be replaced. When not, the reason names
    // the folder or the file that stands in the way.
    bool CanWriteDataFiles(QString* reason = nullptr) const;
    static const char* const kDataKey;

    // Told of every line of a loaded file that gave nothing (for inspection
    // tools): the file name, the 1-based line number and why. The line itself
    // is not handed out: the user file's lines hold passwords.
    std::function<void(const QString& file, int lineNumber, const QString& reason)> onUnusedLine;

    // Why the last save that failed did so ("" after a successful one).
    const QString& LastSaveError() const { return lastSaveError; }

private:
    enum FileId { SpeechFile, CategoryFile, MusicTaskFile, UserFile, CommonFile, FileCount };
    bool saveFile(FileId id, const QString& text);
    bool loadFile(FileId id, bool (DataStore::*readLine)(const QString&));
    bool keepUnreadableCopy(FileId id);

    QString dataPath(const char* name) const;
    QString tempPath() const;
    static QString unusedReason(const QString& line);

    const Clock& clock;
    const QString dataFolder;
    const QString tempFolder;
    QString lastSaveError;
    MusicCategory* currentCategory = nullptr; // while loading the category file
    MusicTask* currentTask = nullptr;         // while loading the music task file
    bool unreadable[FileCount] = {};
};

// '|' separates the fields of a data-file line and a line break ends it, so a
// name or text that holds them would break its record: each '|' becomes a
// space, and so does a line break in a single-line text (names, titles,
// passwords). Multi-line texts (script and speech texts) keep their breaks.
QString StorableText(const QString& text, bool multiLine = false);

// A file path can not be changed the way a name is: a path that holds '|', a
// carriage return or a line feed cannot be stored and must be refused
// (UI text "fmt_path_bad_chars" names the file).
bool IsStorablePath(const QString& path);

// A daily window [start, end], both minutes inclusive.
struct DailyWindow {
    HhmmTime start = 0;
    HhmmTime end = 0;
    bool contains(HhmmTime t) const { return start <= t && t <= end; }
};

// A task's daily window cut to the working hours of weekday g (0 no bound).
DailyWindow CutToWorkingHours(HhmmTime start, HhmmTime end, const CommonSettings& settings,
                              int weekday);

// A moment as the task checks need it. Reading the clock costs far more than
// checking a task, so a check of many tasks takes the moment once.
struct TaskMoment {
    YmdDate today = 0;
    HhmmTime minute = 0;
    int weekday = 0; // Monday 0 ... Sunday 6
};
TaskMoment TaskMomentOf(const QDateTime& now);

// Whether a music task is due at this moment: its dates, weekday and daily
// window, the window cut to today's working hours; both bounds inclusive.
bool IsMusicTaskActiveNow(const MusicTask& task, const CommonSettings& settings,
                          const Clock& clock);
bool IsMusicTaskActiveAt(const MusicTask& task, const CommonSettings& settings,
                         const TaskMoment& moment);
// Whether a speech task runs today (dates and weekday only).
bool IsSpeechTaskActiveToday(const SpeechTask& task, const Clock& clock);
