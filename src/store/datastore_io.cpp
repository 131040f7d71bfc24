// Saving and loading the five data files: plain text through the temporary
// file, encrypted as a whole with the data-file key.
#include "store/datastore.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>

#include "support/clock.h"
#include "support/cryptfile.h"
#include "support/diagnostics.h"
#include "support/eventlog.h"
#include "support/files.h"
#include "support/textfile.h"

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

QString errorText(int code) {
    QString text;
    DescribeError(code, &text);
    return text.isEmpty() ? QStringLiteral("error ") + QString::number(code) : text;
}

} // namespace

QString DataStore::tempPath() const {
    return tempFolder + u'/' + QLatin1String(kTempName);
}

QString DataStore::dataPath(const char* name) const {
    return dataFolder + u'/' + QLatin1String(name);
}

bool DataStore::saveFile(FileId id, const QString& text) {
    const QString temp = tempPath();
    const QString path = dataPath(kFileNames[id]);
    restrictTempFile(temp);
    lastSaveError.clear();
    RefPtr<IFileArchive> writer;
    bool ok = OpenTextWriter(temp, writer.put()) == kTextOk;
    ok = ok && writer->WriteText(text) == kTextOk && writer->FlushAndCut() == kTextOk;
    if (!ok)
        lastSaveError = temp + QStringLiteral(": ") + errorText(errno);
    writer.reset();
    if (ok && unreadable[id] && !keepUnreadableCopy(id)) {
        ok = false;
        lastSaveError =
            QStringLiteral("cannot keep a copy of the unreadable file: ") + errorText(errno);
    }
    if (ok) {
        CryptLibraryBinding binding(kDataKey);
        errno = 0;
        ok = CryptFile(temp, true, binding, path);
        // An empty list is written as an empty data file, which the cipher
        // reports as a failure; only a file that stayed as it was is an error.
        if (!ok && !binding.isBound())
            lastSaveError = QStringLiteral("the cipher library cannot be loaded");
        else if (!ok && !(text.isEmpty() && QFileInfo(path).size() == 0))
            lastSaveError = errorText(errno);
    }
    TruncateFile(temp);
    if (!lastSaveError.isEmpty()) {
        LogEvent(QStringLiteral("Failed to save ") + path + QStringLiteral(": ") + lastSaveError);
        qCWarning(lcStore).noquote() << "save of" << path << "failed:" << lastSaveError;
    }
    return ok;
}

bool DataStore::loadFile(FileId id, bool (DataStore::*readLine)(const QString&)) {
    const QString path = dataPath(kFileNames[id]);
    const QString temp = tempPath();
    if (QFile::exists(path))
        restrictTempFile(temp);
    bool recognised = false;
    bool ok = false;
    {
        // The plain text is read back at once and emptied after: it need not
        // reach the disk first.
        CryptLibraryBinding binding(kDataKey);
        ok = CryptFile(path, false, binding, temp, WriteMode::Scratch);
    }
    if (ok) {
        RefPtr<ILineReader> reader;
        ok = OpenLineReader(temp, reader.put()) == kTextOk;
        int number = 0;
        // One string for every line: the handlers copy what they keep.
        QString line;
        if (ok && reader->MoveFirst() == kTextOk) {
            do {
                ++number;
                if (reader->GetLineText(&line) < 0)
                    break;
                if (line.isEmpty() || line.startsWith(u'#'))
                    continue;
                if ((this->*readLine)(line))
                    recognised = true;
                else if (onUnusedLine)
                    onUnusedLine(QLatin1String(kFileNames[id]), number, unusedReason(line));
            } while (reader->MoveNext() == kTextOk);
        }
    }
    TruncateFile(temp);
    // A data file with content that gave nothing usable is kept aside before
    // it is first overwritten, so that no stored record is lost without a copy.
    unreadable[id] = !recognised && QFileInfo(path).size() > 0;
    if (unreadable[id])
        qCWarning(lcStore).noquote() << path << "holds nothing usable (wrong key or damaged);"
                                     << "a copy is kept before the next save";
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

bool DataStore::CanWriteDataFiles(QString* reason) const {
    // Saves create files in the folder and rename them over the data files,
    // and write the temporary file in place: those are tried for real, since
    // permission bits say nothing for root or on a read-only mount.
    QString blocking;
    QTemporaryFile probe(dataFolder + QStringLiteral("/.write-check-XXXXXX"));
    if (!probe.open()) {
        blocking = dataFolder;
    } else if (QFile temp(tempPath());
               temp.exists() && !temp.open(QIODevice::WriteOnly | QIODevice::Append)) {
        blocking = temp.fileName();
    }
    if (reason)
        *reason = blocking;
    return blocking.isEmpty();
}

QString DataStore::unusedReason(const QString& line) {
    static const char* const kPrefixes[] = {
        "Task=", "Stock=", "BkMusic=", "PlayEffect=", "User=", ">"};
    for (const char* prefix : kPrefixes) {
        if (line == QLatin1String(prefix))
            return QStringLiteral("nothing after its prefix");
    }
    return QStringLiteral("no known record type");
}
