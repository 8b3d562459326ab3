#pragma once

#include "shell/commands.h"

namespace zf {

class ProjectSession;

// The handlers of every command that is an operation of the session: the File
// commands (the exports among them), Input and the Document commands, Show Help Topics, the languages,
// the catalogs and the documents of the Catalogs menu.
void registerSessionCommands(CommandHandlers& handlers, ProjectSession& session);

} // namespace zf
