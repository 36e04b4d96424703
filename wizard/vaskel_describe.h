// The converter's answer to `Plovik ... -describe`: the JSON document read
// into a ProjectDescription. The wizard fills its lists from the answer
// instead of reading the project's files itself, so it offers exactly what
// the converter accepts.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

struct DescribedVariable {
  QString name;
  QString value;  // the whole expansion; empty when unresolved
  QString source;  // "-var", "build macro", "Workbench", "environment" or "unresolved"
  bool resolved() const { return source != QLatin1String("unresolved"); }
};

// One project of a workspace's description (`-workspace WS DEST -describe`).
struct WorkspaceMember {
  QString name;
  QString folder;
  QString output;   // the folder it is converted into
  QString failure;  // what would end its run; empty when nothing would
};

struct ProjectDescription {
  QString mode;  // "default" or "real-project"
  QString projectName;
  QString nameFrom;  // ".project", "-pn" or "none"
  QStringList knownSpecs;
  QString defaultSpec;  // empty when the project names none
  QString chosenSpec;   // empty when the conversion reads every build spec
  QStringList knownTargets;
  QList<DescribedVariable> variables;
  QStringList warnings;
  QString failure;  // the line the conversion would fail with; empty when it would not
  QList<WorkspaceMember> projects;  // a workspace's projects, in the run's order

  bool isWorkspace() const { return mode == QLatin1String("workspace"); }

  bool namedByProject() const { return nameFrom == QLatin1String(".project"); }
  // Only the real-project mode expands variables, and so lists them.
  bool expandsVariables() const { return mode == QLatin1String("real-project"); }
};

// Reads the converter's answer; nullopt with `error` set when it is no
// description this wizard understands (not JSON, another format version).
std::optional<ProjectDescription> parseDescription(const QByteArray& answer, QString* error);
