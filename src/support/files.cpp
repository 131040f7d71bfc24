#include "support/files.h"

#include <QDir>
#include <QFileInfo>

#include <cstring>

#ifdef Q_OS_WIN
#include <QFile>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

bool FileExists(const QString& path) {
    return !path.isEmpty() && QFileInfo::exists(path);
}

bool TruncateFile(const QString& path) {
    if (path.isEmpty())
        return false;
#ifdef Q_OS_WIN
    if (!QFileInfo(path).isFile())
        return false;
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate);
#else
    // Without O_CREAT, so that a missing file stays missing.
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
#endif
}

bool MakeDirectoryPath(const QString& path) {
    QString p = path;
    auto chopRun = [&p](QChar c) {
        while (p.endsWith(c))
            p.chop(1);
    };
    chopRun(u' ');
    chopRun(u'\\');
    chopRun(u'/');
    if (p.isEmpty())
        return false;
#ifndef Q_OS_WIN
    p.replace(u'\\', u'/');
#endif
    return QDir().mkpath(p) && QFileInfo(p).isDir();
}

int DescribeError(int code, QString* text) {
    if (!text)
        return 0;
    text->clear();
#ifdef Q_OS_WIN
    *text = qt_error_string(code);
#else
    // strerror_r in its GNU or XSI form; both leave a text for unknown codes
    // that starts with "Unknown error".
    char buffer[256] = {};
    const char* message = buffer;
#if defined(__GLIBC__) && defined(_GNU_SOURCE)
    message = strerror_r(code, buffer, sizeof buffer);
#else
    if (strerror_r(code, buffer, sizeof buffer) != 0)
        return 0;
#endif
    if (!message || std::strncmp(message, "Unknown error", 13) == 0)
        return 0;
    *text = QString::fromLocal8Bit(message);
#endif
    return int(text->size());
}
