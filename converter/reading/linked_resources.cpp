#include "reading/linked_resources.h"

#include "model/failure.h"
#include "reading/markup_reader.h"
#include "reading/workbench_facts.h"
#include "text/entities.h"

// Where an open element stands, as far as the links are concerned: each
// element's place follows from its parent's and its name, so no path of
// names is kept or compared.
enum class LinkPlace : int {
  Other, Description, LinkedResources, Link, LinkName, LinkType, LinkLocation, LinkLocationUri,
  VariableList, Variable, VariableName, VariableValue
};

namespace {

using Place = LinkPlace;

Place placeOf(Place parent, std::string_view name, bool outermost) {
  if (outermost) return name == "projectDescription" ? Place::Description : Place::Other;
  switch (parent) {
    case Place::Description:
      if (name == "linkedResources") return Place::LinkedResources;
      if (name == "variableList") return Place::VariableList;
      return Place::Other;
    case Place::LinkedResources: return name == "link" ? Place::Link : Place::Other;
    case Place::Link:
      if (name == "name") return Place::LinkName;
      if (name == "type") return Place::LinkType;
      if (name == "location") return Place::LinkLocation;
      if (name == "locationURI") return Place::LinkLocationUri;
      return Place::Other;
    case Place::VariableList: return name == "variable" ? Place::Variable : Place::Other;
    case Place::Variable:
      if (name == "name") return Place::VariableName;
      if (name == "value") return Place::VariableValue;
      return Place::Other;
    default: return Place::Other;
  }
}

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool holdsValue(Place place) {
  switch (place) {
    case Place::LinkName:
    case Place::LinkType:
    case Place::LinkLocation:
    case Place::LinkLocationUri:
    case Place::VariableName:
    case Place::VariableValue: return true;
    default: return false;
  }
}

}  // namespace

void LinkedResourcesReader::take(MarkupReader::TokenKind kind, std::string_view token) {
  if (finished) return;
  if (kind == MarkupReader::StartTag && !token.ends_with('/')) {
    std::size_t name = 0;
    while (name < token.size() && !isSpace(token[name])) ++name;
    open(token.substr(0, name));
  } else if (kind == MarkupReader::Text) {
    // Only an element whose value is taken keeps its text: the white space
    // between the other elements is most of a description's tokens.
    if (!places.empty() && holdsValue(places.back())) text.assign(token);
  } else if (kind == MarkupReader::EndTag) {
    // An end with nothing open, or the end of the outermost element, ends
    // the description.
    if (!places.empty()) close();
    finished = places.empty();
  }
}

void LinkedResourcesReader::open(std::string_view name) {
  const Place place = placeOf(places.empty() ? Place::Other : places.back(), name, places.empty());
  places.push_back(place);
  text.clear();
  if (place == Place::Link) link = {};
  if (place == Place::Variable) variable = {};
}

void LinkedResourcesReader::close() {
  switch (places.back()) {
    case Place::LinkName: link.name = value(); break;
    case Place::LinkType: link.folder = value() == "2"; break;
    case Place::LinkLocation: link.location = value(), link.isUri = false; break;
    case Place::LinkLocationUri: link.location = value(), link.isUri = true; break;
    case Place::Link:
      if (!link.name.empty() && !link.location.empty()) result.links.push_back(std::move(link));
      break;
    case Place::VariableName: variable.first = value(); break;
    case Place::VariableValue: variable.second = value(); break;
    case Place::Variable:
      if (!variable.first.empty()) result.variables.push_back(std::move(variable));
      break;
    default: break;
  }
  places.pop_back();
  text.clear();
}

std::string LinkedResourcesReader::value() const {
  constexpr std::string_view kSpace = " \t\r\n";
  // Nearly every value holds no entity: cut without decoding a copy.
  if (text.find('&') == std::string::npos) return text.substr(0, text.find_last_not_of(kSpace) + 1);
  std::string decoded = decodeEntities(text);
  decoded.erase(decoded.find_last_not_of(kSpace) + 1);
  return decoded;
}

ProjectLinks parseLinkedResources(std::string_view text) {
  MarkupReader reader(text);
  LinkedResourcesReader links;
  reader.watchTokens([&](MarkupReader::TokenKind kind, std::string_view token) {
    links.take(kind, token);
  });
  try {
    while (!links.done()) {
      reader.peek();
      reader.drop();
    }
  } catch (const Failure&) {
    // The end of the text: what was read stands.
  }
  return std::move(links.result);
}
