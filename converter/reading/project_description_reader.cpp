#include "driver/conversion_job.h"

// Reads the Eclipse project description: the project's name and the projects
// it refers to. Everything else is read only to pass over it.

namespace {

// Passes over whole elements until the end tag `name`; false when something
// other than an element stands in the way.
bool passOverUntilEnd(MarkupReader& reader, const std::string& name) {
  while (!reader.expectEndTag(name)) {
    if (!reader.skipElement()) return false;
  }
  return true;
}

}  // namespace

bool ConversionJob::readProjectDescription() {
  if (!reader.expectStartTag("projectDescription")) return false;
  std::string name;
  // An empty name leaves the one given with -pn: a project named "" would
  // spread its folders into the destination itself.
  if (reader.expectStartTag("name") && reader.readText(name) && reader.expectEndTag("name") &&
      !name.empty()) {
    projectName = name;
  }
  readComment();
  if (!readProjects()) return false;
  readBuildSpec();
  readNatures();
  // Eclipse and Workbench write further elements after the natures
  // (linkedResources, filteredResources, variableList, ...); none matters here.
  return passOverUntilEnd(reader, "projectDescription");
}

bool ConversionJob::readComment() {
  if (!reader.expectStartTag("comment")) return reader.expectStartTag("comment/");
  std::string text;
  if (reader.readText(text)) return reader.expectEndTag("comment");
  return false;
}

bool ConversionJob::readProjects() {
  if (!reader.expectStartTag("projects")) return false;
  std::string text;
  while (reader.expectStartTag("project") && reader.readText(text) &&
         reader.expectEndTag("project")) {
    referencedProjects.push_back(text);
    text.clear();
  }
  return reader.expectEndTag("projects");
}

bool ConversionJob::readBuildSpec() {
  if (!reader.expectStartTag("buildSpec")) return false;
  while (readBuildCommand()) {
  }
  return reader.expectEndTag("buildSpec");
}

bool ConversionJob::readBuildCommand() {
  if (!reader.expectStartTag("buildCommand")) return false;
  std::string text;
  if (reader.expectStartTag("name") && reader.readText(text)) reader.expectEndTag("name");
  readArguments();
  // Workbench's builder adds <triggers> and may order the children freely.
  return passOverUntilEnd(reader, "buildCommand");
}

bool ConversionJob::readArguments() {
  if (!reader.expectStartTag("arguments")) return false;
  std::string text;
  if (reader.readText(text) && reader.expectEndTag("arguments")) return true;
  // Eclipse writes arguments as a <dictionary> of key/value pairs.
  return passOverUntilEnd(reader, "arguments");
}

bool ConversionJob::readNatures() {
  if (!reader.expectStartTag("natures")) return false;
  while (readNature()) {
  }
  return reader.expectEndTag("natures");
}

bool ConversionJob::readNature() {
  std::string text;
  return reader.expectStartTag("nature") && reader.readText(text) && reader.expectEndTag("nature");
}
