#include "support/apppaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

QString& appFolderOverride() {
    static QString folder;
    return folder;
}

QString& userFolderOverride() {
    static QString folder;
    return folder;
}

QString& resourceModule() {
    static QString module;
    return module;
}

// The full path of the running program file, from the platform rather than argv[0].
QString programFilePath() {
#ifdef Q_OS_WIN
    std::wstring buffer(260, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, buffer.data(), DWORD(buffer.size()));
        if (n == 0)
            return QString();
        if (n < buffer.size())
            return QString::fromWCharArray(buffer.data(), int(n));
        buffer.resize(buffer.size() + 260);
    }
#elif defined(Q_OS_LINUX)
    QString path = QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
    if (!path.isEmpty())
        return path;
    return QCoreApplication::applicationFilePath();
#else
    return QCoreApplication::applicationFilePath();
#endif
}

} // namespace

QString GetAppFolder() {
    if (!appFolderOverride().isEmpty())
        return appFolderOverride();
    const QString path = programFilePath();
    for (qsizetype i = path.size() - 1; i >= 0; --i) {
        if (path[i] == u'\\' || path[i] == u'/')
            return path.left(i);
    }
    return QString(QLatin1String(""));
}

void SetAppFolderForTests(const QString& folder) {
    appFolderOverride() = folder;
}

void SetUserFolderForTests(const QString& folder) {
    userFolderOverride() = folder;
}

QString GetStationFolder() {
    const QString program = GetAppFolder();
    // Only a folder that is there and refuses writing is an installed one; a
    // missing one stays the station's, and its saves fail as they should.
    const QFileInfo folder(program);
    if (!folder.isDir() || folder.isWritable())
        return program;
    const QString user = !userFolderOverride().isEmpty()
                             ? userFolderOverride()
                             : QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir dir(user);
    if (!dir.exists(QStringLiteral("log"))) {
        // First use: the settings start as shipped; the event log and the
        // store do not make their folders themselves.
        dir.mkpath(QStringLiteral("data"));
        dir.mkpath(QStringLiteral("log"));
        const QString settings = dir.filePath(QStringLiteral("app.conf"));
        if (!QFile::exists(settings) &&
            QFile::copy(program + QStringLiteral("/app.conf"), settings))
            QFile(settings).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    }
    return user;
}

void SetResourceModule(const QString& module) {
    if (!module.isEmpty())
        resourceModule() = module;
}

QString GetResourceModule() {
    return resourceModule();
}
