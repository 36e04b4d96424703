// What the wizard reads from a Workbench project's own files: the project's
// name from its .project file and the build specs its .wrproject file lists.
// Both are read leniently: whatever came before a fault in the markup counts,
// and a file that cannot be read gives nothing.
#pragma once

#include <QString>
#include <QStringList>

// The text of <name> directly inside <projectDescription>, trimmed; empty when
// the file names none.
QString readProjectName(const QString& projectFile);

struct BuildSpecs {
  QStringList names;    // the entries of the build spec list, in file order, each once
  QString defaultName;  // the project's default spec, possibly not in `names`
};
BuildSpecs readBuildSpecs(const QString& wrProjectFile);

// The project file a dropped path stands for: the path itself when it names a
// file ending in ".project", the ".project" inside it when it names a folder
// that holds one, otherwise the empty text.
QString projectFileFor(const QString& droppedPath);
