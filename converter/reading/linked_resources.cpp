#include "reading/linked_resources.h"

#include "model/failure.h"
#include "reading/markup_reader.h"
#include "reading/workbench_facts.h"
#include "text/entities.h"

namespace {

// The elements whose text is kept, by their place below <projectDescription>.
class LinkCollector {
 public:
  void open(std::string_view name) {
    path.emplace_back(name);
    text.clear();
    if (at({"linkedResources", "link"})) link = {};
    if (at({"variableList", "variable"})) variable = {};
  }

  void close() {
    const std::string value = trimmed(decodeEntities(text));
    if (at({"linkedResources", "link", "name"})) link.name = value;
    if (at({"linkedResources", "link", "type"})) link.folder = value == "2";
    if (at({"linkedResources", "link", "location"})) link.location = value, link.isUri = false;
    if (at({"linkedResources", "link", "locationURI"})) link.location = value, link.isUri = true;
    if (at({"linkedResources", "link"}) && !link.name.empty() && !link.location.empty()) {
      result.links.push_back(std::move(link));
    }
    if (at({"variableList", "variable", "name"})) variable.first = value;
    if (at({"variableList", "variable", "value"})) variable.second = value;
    if (at({"variableList", "variable"}) && !variable.first.empty()) {
      result.variables.push_back(std::move(variable));
    }
    path.pop_back();
    text.clear();
  }

  bool empty() const { return path.empty(); }
  std::string text;  // of the element open last
  ProjectLinks result;

 private:
  bool at(std::initializer_list<std::string_view> below) const {
    if (path.size() != below.size() + 1 || path[0] != "projectDescription") return false;
    std::size_t i = 1;
    for (const std::string_view name : below) {
      if (path[i++] != name) return false;
    }
    return true;
  }
  static std::string trimmed(std::string text) {
    text.erase(text.find_last_not_of(" \t\r\n") + 1);
    return text;
  }

  std::vector<std::string> path;  // the elements open, outermost first
  LinkedResource link;
  std::pair<std::string, std::string> variable;
};

}  // namespace

ProjectLinks parseLinkedResources(std::string_view text) {
  MarkupReader reader(text);
  LinkCollector collector;
  try {
    for (;;) {
      const MarkupReader::TokenKind kind = reader.peek();
      const std::string token = reader.currentToken();
      reader.drop();
      if (kind == MarkupReader::StartTag && !token.ends_with('/')) {
        collector.open(std::string_view(token).substr(0, token.find_first_of(" \t\r\n")));
      } else if (kind == MarkupReader::Text) {
        collector.text = token;
      } else if (kind == MarkupReader::EndTag) {
        if (collector.empty()) break;
        collector.close();
        if (collector.empty()) break;  // the end of the description
      }
    }
  } catch (const Failure&) {
    // The end of the text: what was read stands.
  }
  return std::move(collector.result);
}
