#include "vaskel_describe.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QObject>

namespace {

QStringList strings(const QJsonValue& value) {
  QStringList list;
  for (const QJsonValue& item : value.toArray()) list << item.toString();
  return list;
}

// The first line of what the converter printed, for a report of an answer
// that is no description (an error line, a usage text).
QString firstLine(const QByteArray& output) {
  const qsizetype end = output.indexOf('\n');
  return QString::fromLocal8Bit(end < 0 ? output : output.left(end)).trimmed();
}

}  // namespace

std::optional<ProjectDescription> parseDescription(const QByteArray& answer, QString* error) {
  QJsonParseError parseError;
  const QJsonDocument document = QJsonDocument::fromJson(answer, &parseError);
  if (parseError.error != QJsonParseError::NoError || !document.isObject()) {
    *error = QObject::tr("Plovik gave no description");
    const QString line = firstLine(answer);
    if (!line.isEmpty()) *error += QStringLiteral(": ") + line;
    return std::nullopt;
  }
  const QJsonObject root = document.object();
  const QJsonValue version = root.value(QLatin1String("version"));
  if (version.toInt(-1) != 1) {
    *error = QObject::tr("Plovik described the project in a format this Vaskel does not know "
                         "(version %1)")
                 .arg(version.isDouble() ? QString::number(version.toDouble()) : QStringLiteral("?"));
    return std::nullopt;
  }

  ProjectDescription description;
  description.mode = root.value(QLatin1String("mode")).toString();
  const QJsonObject project = root.value(QLatin1String("project")).toObject();
  description.projectName = project.value(QLatin1String("name")).toString();
  description.nameFrom = project.value(QLatin1String("from")).toString(QStringLiteral("none"));

  const QJsonObject specs = root.value(QLatin1String("buildSpecs")).toObject();
  description.knownSpecs = strings(specs.value(QLatin1String("known")));
  description.defaultSpec = specs.value(QLatin1String("default")).toString();
  description.chosenSpec = specs.value(QLatin1String("chosen")).toString();

  const QJsonObject targets = root.value(QLatin1String("buildTargets")).toObject();
  description.knownTargets = strings(targets.value(QLatin1String("known")));

  for (const QJsonValue& item : root.value(QLatin1String("variables")).toArray()) {
    const QJsonObject variable = item.toObject();
    description.variables.append({variable.value(QLatin1String("name")).toString(),
                                  variable.value(QLatin1String("value")).toString(),
                                  variable.value(QLatin1String("source")).toString()});
  }
  description.warnings = strings(root.value(QLatin1String("warnings")));
  description.failure = root.value(QLatin1String("failure")).toString();
  for (const QJsonValue& item : root.value(QLatin1String("projects")).toArray()) {
    const QJsonObject member = item.toObject();
    description.projects.append(
        {member.value(QLatin1String("name")).toString(),
         member.value(QLatin1String("folder")).toString(),
         member.value(QLatin1String("output")).toString(),
         member.value(QLatin1String("description")).toObject().value(QLatin1String("failure")).toString()});
  }
  return description;
}
