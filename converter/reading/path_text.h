// Paths handled as text, the way the real-project mode compares and joins
// them: "/" and "\" both separate parts, whatever the platform, since
// Workbench writes "/" into build descriptions on Windows too.
#pragma once

#include <string>
#include <string_view>

// Rooted ("/x", "\x", "\\server\x") or with a drive ("C:/x", "C:\x").
bool isAbsolutePath(std::string_view path);

// `path` made absolute against `base` (unless it is already) and without
// "." parts, ".." parts that a part before them takes back, or doubled
// separators; every separator becomes the platform's. For comparing paths,
// not for naming them in the output.
std::string comparablePath(std::string_view path, std::string_view base);

// Whether `relative`, joined to a folder, leads out of that folder at any
// point: a ".." part that climbs above it, whatever the separators ("/",
// "\\", doubled or mixed). Empty and "." parts stay where they are.
bool leavesFolder(std::string_view relative);
