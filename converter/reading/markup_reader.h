// A small pull reader for the tag-structured text of a Workbench project
// description. It is not an XML parser: it cuts the text into tokens and lets
// the caller test the next one against an expected element name, keeping a
// token that does not match pending for the next test.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

class MarkupReader {
 public:
  enum TokenKind : int { None = 0, StartTag = 1, EndTag = 2, Text = 3, Declaration = 4 };

  // Reads `text`, which must outlive the reader. A leading UTF-8 byte order
  // mark is passed over.
  explicit MarkupReader(std::string_view text);

  // True, with the token consumed, when the next token that is no declaration
  // is a start (end) tag whose text equals `name`; false leaves it pending.
  // Throws XMLReaderError (UnexpectedEnd) when the text ends first.
  bool expectStartTag(std::string_view name);
  bool expectEndTag(std::string_view name);

  // The character data of the current element: true with `out` set for a text
  // token, true with `out` empty for an end tag (left pending), false for a
  // start tag or declaration (left pending).
  bool readText(std::string& out);

  // Passes over the pending start tag and everything up to its matching end
  // tag. Used for the parts of a project description we do not read.
  // False when the pending token is no start tag.
  bool skipElement();

  // The kind of the next token, declarations included, read when none is
  // pending; the token stays pending. For readers that walk every element
  // instead of expecting a fixed shape. Throws XMLReaderError (UnexpectedEnd)
  // when the text ends first, as the expect tests do.
  TokenKind peek();
  // Drops the pending token.
  void drop() { pendingKind = None; }

  // Called with each token as it is read, declarations included, whichever
  // test reads it: a second reader can follow the same text without cutting
  // it into tokens again.
  using TokenWatcher = std::function<void(TokenKind, std::string_view)>;
  void watchTokens(TokenWatcher watch) { watcher = std::move(watch); }

  // True until a read has run into the end of the text.
  bool isGood() const { return !ended; }
  std::string currentToken() const { return tokenText; }

 private:
  bool expectTag(TokenKind kind, std::string_view name);
  int get();
  void unget();
  void skipWhitespace();
  void readToken();
  void readNextToken();
  void readUntilClosingBracket();
  void readDeclaration();

  std::string_view text;
  std::size_t pos = 0;
  bool ended = false;     // a read found no character left; stays so
  std::string tokenText;  // text of the token most recently read
  TokenKind pendingKind = None;
  TokenWatcher watcher;
};
