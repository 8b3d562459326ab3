#pragma once

#include <QByteArray>
#include <QString>

namespace zf::exchange {

// A file that lives in memory, for the libraries that write only to a named
// file: they write it through its name, the program then puts the bytes where
// they belong as one checked, atomic write. Internal to the exchange library.
class MemoryFile {
public:
    MemoryFile();
    ~MemoryFile();
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    // False when no such file could be made; error() tells why.
    bool isOpen() const { return fd_ >= 0; }
    const QString& error() const { return error_; }
    // A name under which the file can be opened, also for writing.
    QByteArray name() const;
    // The bytes written so far; false with error() when they cannot be read.
    bool read(QByteArray* bytes);

private:
    int fd_ = -1;
    QString error_;
};

} // namespace zf::exchange
