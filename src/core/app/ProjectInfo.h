#pragma once
// Names and addresses the program shows to the user.

namespace kv::app {

// Caption of the main window after start-up (a base-file command adds the
// file name to it).
inline constexpr const char *kProgramCaption = "Квиртон v1.3";

// The application's title: task bar and the default error display.
inline constexpr const char *kApplicationTitle = "Квиртон";

// Where the user finds the program's documentation, offered by the start-up
// check when the record store cannot work in the current folder.
inline constexpr const char *kDocumentationUrl = "https://kvirton.github.io/docs/";

// The about box: who makes the program and where to reach them.
inline constexpr const char *kAuthorLine = "Команда проекта Квиртон";
inline constexpr const char *kAuthorMail = "kvirton-team@users.noreply.github.com";
inline constexpr const char *kWebAddress = "https://kvirton.github.io/";

} // namespace kv::app
