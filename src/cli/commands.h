#pragma once

#include <QStringList>
#include <cstdio>

namespace zf {

// Runs zefrant-cli with its arguments (without the program name); returns the
// exit status: 0 success, 1 the operation failed or was refused, 2 usage error.
// The program folder is the executable's unless one is given.
int runCli(const QStringList& args, std::FILE* out = stdout, std::FILE* err = stderr,
           const QString& appFolder = QString());

} // namespace zf
