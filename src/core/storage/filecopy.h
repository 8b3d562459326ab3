#pragma once

#include <QString>
#include <functional>

namespace zf {

// Copies src over dst without ever leaving a half-written dst: the bytes go to a
// temporary file in dst's folder, which is synced and renamed into place. On
// failure dst is as it was and error receives the failing path and the
// system's reason ("<path>: No space left on device"). Only regular files are
// copied.
bool copyFileReplacing(const QString& src, const QString& dst, QString* error = nullptr);

// Writes bytes to dst whole or not at all, as copyFileReplacing copies: through a
// temporary file in dst's folder that is synced and renamed into place. A new
// dst gets the permissions a new file of the user gets; an existing one keeps
// its own. The copy interrupt hook applies.
bool writeFileReplacing(const QString& dst, const QByteArray& bytes, QString* error = nullptr);

// Removes the temporary files that copies to dst left when their process was
// killed. Only the holder of the project's lock copies to its files, so while
// it holds the lock every such file is a leftover.
void removeInterruptedCopies(const QString& dst);

// Moves src over dst in one step; dst keeps its permissions. Needs no free
// space, so it can put a backup back on a full disk.
bool renameReplacing(const QString& src, const QString& dst, QString* error = nullptr);

// Test hook: called after every chunk written with the bytes written so far; a
// true result aborts the copy there, as a killed process or a full disk would.
void setCopyInterruptHook(std::function<bool(qint64 written)> hook);

// True when both files can be read and hold the same bytes.
bool sameContent(const QString& a, const QString& b);

// The file's identity (device and inode); two paths name the same file when
// their identities are equal. Empty when the file does not exist.
QString fileIdentity(const QString& path);
bool sameFile(const QString& a, const QString& b);

} // namespace zf
