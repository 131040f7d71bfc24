#include "store/uitext.h"

#include <QRegularExpression>

#include <climits>

#include "support/apppaths.h"
#include "support/profile.h"

namespace {

int g_uiLanguage = 0;

const QString kSection = QStringLiteral("Global");
const QString kDefaultMusicPatterns = QStringLiteral("*.mp3; *.wmv; *.wav");

QString ConfigPath() {
    return GetStationFolder() + QStringLiteral("/app.conf");
}

QString UiTextPath() {
    return GetAppFolder() + (g_uiLanguage == 0 ? QStringLiteral("/string_chs.conf")
                                               : QStringLiteral("/string_eng.conf"));
}

} // namespace

void SetUiLanguage(int langId) {
    g_uiLanguage = langId;
}

int UiLanguage() {
    return g_uiLanguage;
}

QString GetUiText(const QString& key) {
    // The reader returns the whole value, however long; the key itself
    // stands in for a missing file or key.
    QString text = ReadProfileString(UiTextPath(), kSection, key, key);
    if (!text.isEmpty()) {
        text.replace(QLatin1String("\\r"), QLatin1String("\r"));
        text.replace(QLatin1String("\\n"), QLatin1String("\n"));
    }
    return text;
}

QString ReadConfig(const QString& key) {
    return ReadProfileString(ConfigPath(), kSection, key, QString());
}

bool WriteConfig(const QString& key, const QString& text) {
    return WriteProfileString(ConfigPath(), kSection, key, text);
}

QString MusicFileFilter() {
    const QString setting = ReadProfileString(
        ConfigPath(), kSection, QStringLiteral("MusicFileExtension"), kDefaultMusicPatterns);
    // The setting separates its patterns with ';' and blanks in any mix; a Qt
    // file dialog wants them separated by blanks inside the parentheses.
    static const QRegularExpression separators(QStringLiteral("[;\\s]+"));
    const QStringList patterns = setting.split(separators, Qt::SkipEmptyParts);
    return GetUiText(QStringLiteral("music_file")) + QStringLiteral(" (") + patterns.join(u' ') +
           u')';
}
