// Saving and loading the five data files: plain text through the temporary
// file, encrypted as a whole with the data-file key.
#include "datastore.h"

#include <QFile>
#include <QFileInfo>

#include "clock.h"
#include "cryptfile.h"
#include "files.h"
#include "textfile.h"

const char* const DataStore::kDataKey = "QUARTEL_7KM_402519";

namespace {

const char* const kFileNames[] = {"ttsdata.sx", "mcatdata.sx", "mtskdata.sx", "usrdata.sx",
                                  "cmndata.sx"};

const char* const kTempName = "inttemp.sx";

// The temporary file holds plain text for the length of one operation: keep
// it readable by the owner only.
void restrictTempFile(const QString& path) {
    if (!QFile::exists(path)) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return;
    }
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
}

} // namespace

QString DataStore::dataPath(const char* name) const {
    return dataFolder + u'/' + QLatin1String(name);
}

bool DataStore::saveFile(FileId id, const QString& text) {
    const QString tempPath = dataPath(kTempName);
    restrictTempFile(tempPath);
    RefPtr<IFileArchive> writer;
    if (OpenTextWriter(tempPath, writer.put()) != kTextOk)
        return false;
    const bool written = writer->WriteText(text) == kTextOk && writer->FlushAndCut() == kTextOk;
    writer.reset();
    bool ok = false;
    if (written && (!unreadable[id] || keepUnreadableCopy(id))) {
        CryptLibraryBinding binding(kDataKey);
        ok = CryptFile(tempPath, true, binding, dataPath(kFileNames[id]));
    }
    TruncateFile(tempPath);
    return ok;
}

bool DataStore::loadFile(FileId id, bool (DataStore::*readLine)(const QString&)) {
    const QString path = dataPath(kFileNames[id]);
    const QString tempPath = dataPath(kTempName);
    if (QFile::exists(path))
        restrictTempFile(tempPath);
    bool recognised = false;
    bool ok = false;
    {
        CryptLibraryBinding binding(kDataKey);
        ok = CryptFile(path, false, binding, tempPath);
    }
    if (ok) {
        RefPtr<ILineReader> reader;
        ok = OpenLineReader(tempPath, reader.put()) == kTextOk;
        if (ok && reader->MoveFirst() == kTextOk) {
            do {
                QString line;
                if (reader->GetLineText(&line) < 0)
                    break;
                if (line.isEmpty() || line.startsWith(u'#'))
                    continue;
                if ((this->*readLine)(line))
                    recognised = true;
                else if (onUnusedLine)
                    onUnusedLine(QLatin1String(kFileNames[id]), line);
            } while (reader->MoveNext() == kTextOk);
        }
    }
    TruncateFile(tempPath);
    // A data file with content that gave nothing usable is kept aside before
    // it is first overwritten, so that no stored record is lost without a copy.
    unreadable[id] = !recognised && QFileInfo(path).size() > 0;
    return ok;
}

bool DataStore::keepUnreadableCopy(FileId id) {
    const QString path = dataPath(kFileNames[id]);
    if (!QFile::exists(path)) {
        unreadable[id] = false;
        return true;
    }
    const QString stamp = clock.now().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString copy = path + QStringLiteral(".unreadable-") + stamp;
    for (int n = 2; QFile::exists(copy); ++n)
        copy = path + QStringLiteral(".unreadable-") + stamp + u'-' + QString::number(n);
    if (!QFile::copy(path, copy))
        return false;
    unreadable[id] = false;
    return true;
}

bool DataStore::SaveSpeechFile() {
    return loading || saveFile(SpeechFile, SpeechFileText());
}
bool DataStore::SaveCategoryFile() {
    return loading || saveFile(CategoryFile, CategoryFileText());
}
bool DataStore::SaveMusicTaskFile() {
    return loading || saveFile(MusicTaskFile, MusicTaskFileText());
}
bool DataStore::SaveUserFile() {
    return loading || saveFile(UserFile, UserFileText());
}
bool DataStore::SaveCommonFile() {
    return loading || saveFile(CommonFile, CommonFileText());
}

bool DataStore::LoadSpeechFile() {
    return loadFile(SpeechFile, &DataStore::ReadSpeechLine);
}
bool DataStore::LoadCategoryFile() {
    currentCategory = nullptr;
    return loadFile(CategoryFile, &DataStore::ReadCategoryLine);
}
bool DataStore::LoadMusicTaskFile() {
    currentTask = nullptr;
    return loadFile(MusicTaskFile, &DataStore::ReadMusicTaskLine);
}
bool DataStore::LoadUserFile() {
    return loadFile(UserFile, &DataStore::ReadUserLine);
}
bool DataStore::LoadCommonFile() {
    return loadFile(CommonFile, &DataStore::ReadCommonLine);
}
