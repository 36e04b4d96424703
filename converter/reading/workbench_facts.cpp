#include "reading/workbench_facts.h"

#include <charconv>

namespace {

constexpr auto npos = std::string_view::npos;
constexpr std::string_view kKey = "key=\"BLD::Info|";

// Appends `code` as UTF-8; false for no character at all.
bool appendUtf8(std::string& out, unsigned long code) {
  if (code == 0 || code > 0x10FFFF) return false;
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
  return true;
}

// The key of an entry whose key begins "BLD::Info|" + `start`: the text
// after `start` up to the key's closing quote; false for another key.
bool keyRest(std::string_view line, std::string_view start, std::string_view& rest) {
  const std::size_t key = line.find(kKey);
  if (key == npos) return false;
  const std::string_view after = line.substr(key + kKey.size());
  if (!after.starts_with(start)) return false;
  const std::string_view tail = after.substr(start.size());
  rest = tail.substr(0, tail.find('"'));
  return true;
}

}  // namespace

std::string decodeEntities(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const std::size_t semicolon = text[i] == '&' ? text.find(';', i) : npos;
    if (semicolon == npos || semicolon - i > 10) {
      out += text[i];
      continue;
    }
    const std::string_view name = text.substr(i + 1, semicolon - i - 1);
    bool decoded = true;
    if (name == "quot") out += '"';
    else if (name == "amp") out += '&';
    else if (name == "lt") out += '<';
    else if (name == "gt") out += '>';
    else if (name == "apos") out += '\'';
    else if (name.size() > 1 && name[0] == '#') {
      const bool hex = name[1] == 'x' || name[1] == 'X';
      const std::string_view digits = name.substr(hex ? 2 : 1);
      unsigned long code = 0;
      const auto [end, error] =
          std::from_chars(digits.data(), digits.data() + digits.size(), code, hex ? 16 : 10);
      decoded = !digits.empty() && error == std::errc() && end == digits.data() + digits.size() &&
                appendUtf8(out, code);
    } else {
      decoded = false;
    }
    if (decoded) i = semicolon;
    else out += text[i];
  }
  return out;
}

bool attributeValue(std::string_view tag, std::string_view name, std::string& value) {
  for (std::size_t at = tag.find(name); at != npos; at = tag.find(name, at + 1)) {
    const bool wordStart = at == 0 || tag[at - 1] == ' ' || tag[at - 1] == '\t' || tag[at - 1] == '<';
    const std::size_t open = at + name.size();
    if (!wordStart || tag.substr(open, 2) != "=\"") continue;
    const std::size_t close = tag.find('"', open + 2);
    value = decodeEntities(tag.substr(open + 2, close == npos ? npos : close - open - 2));
    return true;
  }
  return false;
}

void WorkbenchFactsReader::line(std::string_view text) {
  if (list != List::None) {
    std::string value;
    if (text.find("/listAttribute") != npos) {
      list = List::None;
    } else if (text.find("stringAttribute") != npos && attributeValue(text, "value", value)) {
      if (list == List::Specs) facts.specs.push_back(std::move(value));
      else facts.defines.push_back({listSpec, std::move(value)});
    }
    return;
  }
  std::string_view rest;
  std::string value;
  if (text.find("listAttribute") != npos) {
    if (keyRest(text, "specs", rest) && rest.empty()) list = List::Specs;
    if (keyRest(text, "Definess", rest)) {
      list = List::Defines;
      listSpec = rest.starts_with('|') ? std::string(rest.substr(1)) : std::string();
    }
    // A list closed on its own line, such as <listAttribute .../>, holds nothing.
    if (list != List::None && text.find("/>") != npos) list = List::None;
  } else if (text.find("stringAttribute") != npos && attributeValue(text, "value", value)) {
    if (keyRest(text, "defaultSpec", rest) && rest.empty()) {
      facts.defaultSpec = std::move(value);
    } else if (keyRest(text, "redirDir", rest)) {
      facts.outputFolders.push_back({rest.starts_with('|') ? std::string(rest.substr(1)) : "",
                                     std::move(value)});
    } else if (keyRest(text, "Tool|C++-Compiler|cmd", rest)) {
      facts.cxxCommands.push_back({rest.starts_with('|') ? std::string(rest.substr(1)) : "",
                                   std::move(value)});
    }
  }
  targetTags(text);
}

// <buildtargets> <buildtarget name="T"> <folder name="/P" recursive="true">
// <excludes> <file name="f"/> </excludes> </folder> </buildtarget>, any
// number of them to a line.
void WorkbenchFactsReader::targetTags(std::string_view text) {
  for (std::size_t open = text.find('<'); open != npos; open = text.find('<', open + 1)) {
    const std::size_t close = text.find('>', open);
    const std::string_view tag = text.substr(open, close == npos ? npos : close - open + 1);
    const auto is = [&](std::string_view name) {
      return tag.starts_with(name) &&
             (tag.size() == name.size() || std::string_view(" \t>/").find(tag[name.size()]) != npos);
    };
    std::string value;
    if (is("<buildtargets")) {
      inTargets = tag.find("/>") == npos;
    } else if (is("</buildtargets")) {
      inTargets = false;
    } else if (!inTargets) {
      continue;
    } else if (is("<buildtarget")) {
      facts.targets.push_back({});
      attributeValue(tag, "name", facts.targets.back().name);
      inFolder = inExcludes = false;
    } else if (facts.targets.empty()) {
      continue;
    } else if (is("<folder") && attributeValue(tag, "name", value)) {
      std::string recursive;
      attributeValue(tag, "recursive", recursive);
      facts.targets.back().folders.push_back({std::move(value), recursive == "true", {}});
      inFolder = tag.find("/>") == npos;
    } else if (is("</folder")) {
      inFolder = false;
    } else if (is("<excludes")) {
      inExcludes = tag.find("/>") == npos;
    } else if (is("</excludes")) {
      inExcludes = false;
    } else if (is("<file") && inExcludes && attributeValue(tag, "name", value)) {
      BuildTarget& target = facts.targets.back();
      // Excludes outside any folder belong to the target as a whole.
      if (!inFolder || target.folders.empty()) target.folders.push_back({"", false, {}});
      target.folders.back().excludes.push_back(std::move(value));
    }
  }
}
