#pragma once

#include <QString>

namespace zf {

class CliDialogs;
class ProjectSession;

// zefrant-cli new FILE: New as the File command does it, then Save As FILE.
int commandNewProject(ProjectSession& s, const QString& file);

// zefrant-cli input FILE DESIGN.json: opens FILE as Open does and enters the
// design into the input wizard as a user would, goes through the pages and
// finishes; then saves. The whole design is one transaction: a refused design,
// a failure or a kill leaves FILE as it was.
int commandInput(ProjectSession& s, CliDialogs& dialogs, const QString& file,
                 const QString& designJson);

} // namespace zf
