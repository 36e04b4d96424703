// A small pull reader for the tag-structured text of a Workbench project
// description. It is not an XML parser: it cuts the input into tokens and lets
// the caller test the next one against an expected element name, keeping a
// token that does not match pending for the next test.
#pragma once

#include <fstream>
#include <string>

class MarkupReader {
 public:
  enum TokenKind : int { None = 0, StartTag = 1, EndTag = 2, Text = 3, Declaration = 4 };

  // Throws XMLReaderError kind 2 when the file cannot be opened.
  void open(const std::string& path);

  // True, with the token consumed, when the next token that is no declaration
  // is a start (end) tag whose text equals `name`; false leaves it pending.
  bool expectStartTag(const std::string& name);
  bool expectEndTag(const std::string& name);

  // The character data of the current element: true with `out` set for a text
  // token, true with `out` empty for an end tag (left pending), false for a
  // start tag or declaration (left pending).
  bool readText(std::string& out);

  // Passes over the pending start tag and everything up to its matching end
  // tag. Used for the parts of a project description we do not read.
  // False when the pending token is no start tag.
  bool skipElement();

  bool isGood() const { return input.good(); }
  std::string currentToken() const { return tokenText; }

 private:
  bool expectTag(TokenKind kind, const std::string& name);
  int get();
  void unget() { input.unget(); }
  void skipWhitespace();
  void readToken();
  void readUntilClosingBracket();
  void readDeclaration();

  std::string fileName;
  std::string tokenText;  // text of the token most recently read
  TokenKind pendingKind = None;
  std::ifstream input;
};
