#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

class QLibrary;

// The cipher library's buffer routine: mode 1 encrypts, any other decrypts;
// returns the bytes written, 0 or -1.
using EncryptString2Function = int (*)(int mode, int algorithm, const char* key,
                                       const unsigned char* input, int inputLength,
                                       unsigned char* output, int outputCapacity);

// The cipher library's file name in the program folder on this platform
// ("libKryptane.so", "Kryptane.dll", ...).
QString CryptLibraryFileName();

// The program's handle on the cipher library. It is meant to live for one
// data-file load or save: CryptFile loads the library on first use, and
// release() (or the destructor) unloads it again.
class CryptLibraryBinding {
public:
    CryptLibraryBinding();
    explicit CryptLibraryBinding(const QByteArray& key);
    ~CryptLibraryBinding();
    CryptLibraryBinding(const CryptLibraryBinding&) = delete;
    CryptLibraryBinding& operator=(const CryptLibraryBinding&) = delete;

    // The 8-bit key handed to the library; the library reads it up to its
    // first NUL.
    void setKey(const QByteArray& key) { key_ = key; }
    const QByteArray& key() const { return key_; }

    // Loads the library from the program folder and binds encrypt_string2.
    // When either fails the binding stays empty and the result is false.
    bool bind();
    bool isBound() const { return encryptString2_ != nullptr; }
    EncryptString2Function encryptString2() const { return encryptString2_; }

    // Unloads the library and forgets the bound entry.
    void release();

private:
    std::unique_ptr<QLibrary> library_;
    EncryptString2Function encryptString2_ = nullptr;
    QByteArray key_;
};

// Reads a whole existing file. Files of 4 GiB or more fail. A missing path
// or output fails with errno EINVAL.
bool ReadWholeFile(const QString& path, QByteArray* data);

// How a whole file is written. Durable: the bytes go to a temporary file in
// the same folder, which is flushed to disk and then renamed over the
// destination, so that a crash or a full disk leaves either the old or the
// new content, never a cut file. Scratch: the file is cut and rewritten in
// place without waiting for the disk (replaced as above only when it cannot
// be opened), for content that is not needed again after a crash (the data
// store's temporary file, emptied once it has been read).
enum class WriteMode { Durable, Scratch };

// Replaces the file's content with the bytes (created when missing).
bool WriteWholeFile(const QString& path, const QByteArray& data,
                    WriteMode mode = WriteMode::Durable);

// Encrypts (or decrypts) the whole source file into the destination with the
// data-file cipher and the binding's key, binding the library first when
// needed. An empty source leaves an empty destination and reports failure;
// every other failure leaves the destination as it was (a Scratch write that
// fails part way may leave it cut).
bool CryptFile(const QString& source, bool encrypt, CryptLibraryBinding& binding,
               const QString& destination, WriteMode mode = WriteMode::Durable);

// The same cipher over bytes in memory, for tools that must leave no plain
// text on disk. An empty input fails.
bool CryptBuffer(const QByteArray& input, bool encrypt, CryptLibraryBinding& binding,
                 QByteArray* output);
