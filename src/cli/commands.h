#pragma once

#include <QStringList>
#include <cstdio>

namespace zf {

// Runs zefrant-cli with its arguments (without the program name); returns the
// exit status: 0 success, 1 the operation failed or was refused, 2 usage error.
int runCli(const QStringList& args, std::FILE* out = stdout, std::FILE* err = stderr);

} // namespace zf
