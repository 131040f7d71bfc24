#include "support/autostart.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>

namespace {

#ifdef Q_OS_WIN
const char kRunKey[] = "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
#else
QString entryPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/autostart/tolvane.desktop");
}
#endif

// The program as a command, quoted. In a desktop entry the characters that
// quoting reserves are escaped first, then every backslash once more, as
// the entry's strings escape it.
QString programCommand() {
    const QString path = QDir::toNativeSeparators(QCoreApplication::applicationFilePath());
#ifdef Q_OS_WIN
    return u'"' + path + u'"';
#else
    QString quoted;
    for (const QChar c : path) {
        if (c == u'\\' || c == u'"' || c == u'`' || c == u'$')
            quoted += u'\\';
        quoted += c;
    }
    quoted.replace(u'\\', QStringLiteral("\\\\"));
    return u'"' + quoted + u'"';
#endif
}

} // namespace

#ifdef Q_OS_WIN
bool IsStartedAtLogin() {
    return QSettings(QLatin1String(kRunKey), QSettings::NativeFormat)
        .contains(QStringLiteral("Tolvane"));
}

bool SetStartedAtLogin(bool on) {
    QSettings run(QLatin1String(kRunKey), QSettings::NativeFormat);
    if (on)
        run.setValue(QStringLiteral("Tolvane"), programCommand());
    else
        run.remove(QStringLiteral("Tolvane"));
    run.sync();
    return run.status() == QSettings::NoError;
}
#else
bool IsStartedAtLogin() {
    return QFile::exists(entryPath());
}

bool SetStartedAtLogin(bool on) {
    const QString path = entryPath();
    if (!on)
        return !QFile::exists(path) || QFile::remove(path);
    if (!QDir().mkpath(QFileInfo(path).path()))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QString entry = QStringLiteral("[Desktop Entry]\n"
                                         "Type=Application\n"
                                         "Name=Tolvane\n"
                                         "Comment=Broadcasting station\n"
                                         "Exec=") +
                          programCommand() +
                          QStringLiteral("\n"
                                         "Icon=tolvane\n"
                                         "X-GNOME-Autostart-enabled=true\n");
    file.write(entry.toUtf8());
    return file.commit();
}
#endif
