#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <clocale>

// Switches the character type of the C locale (which decides the system code
// page) for the life of the object.
class LocaleGuard {
public:
    explicit LocaleGuard(const char* name) : saved_(std::setlocale(LC_CTYPE, nullptr)) {
        ok_ = std::setlocale(LC_CTYPE, name) != nullptr;
    }
    ~LocaleGuard() { std::setlocale(LC_CTYPE, saved_.constData()); }
    LocaleGuard(const LocaleGuard&) = delete;
    LocaleGuard& operator=(const LocaleGuard&) = delete;
    bool ok() const { return ok_; }

private:
    QByteArray saved_;
    bool ok_ = false;
};

inline bool writeFileBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

inline QByteArray readFileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
