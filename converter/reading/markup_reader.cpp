#include "reading/markup_reader.h"

#include <cstdio>

#include "model/failure.h"

namespace {

bool isWhite(int c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

[[noreturn]] void unexpectedEnd() { throw XMLReaderError(FailureKind::UnexpectedEnd); }

}  // namespace

MarkupReader::MarkupReader(std::string_view text) : text(text) {
  if (text.starts_with("\xEF\xBB\xBF")) pos = 3;
}

// Reads one byte, or EOF at the end. A carriage return right before a line
// feed is dropped, as a Windows text stream does, so that tokens are the same
// on every platform.
int MarkupReader::get() {
  if (pos >= text.size()) {
    ended = true;
    return EOF;
  }
  int c = static_cast<unsigned char>(text[pos++]);
  if (c == '\r' && pos < text.size() && text[pos] == '\n') c = text[pos++];
  return c;
}

// Puts the last byte back; after the end there is nothing to put back.
void MarkupReader::unget() {
  if (!ended) --pos;
}

void MarkupReader::skipWhitespace() {
  if (!isGood()) unexpectedEnd();
  int c = get();
  while (isWhite(c)) {
    if (!isGood()) unexpectedEnd();
    c = get();
  }
  unget();
}

// Appends characters up to the next ">" (not appended).
void MarkupReader::readUntilClosingBracket() {
  int c = get();
  while (c != '>') {
    tokenText += static_cast<char>(c);
    if (!isGood()) unexpectedEnd();
    c = get();
  }
}

// "<!", "<?" or "<&" up to the ">" that closes it: angle brackets nest, and
// inside a bracketed section "[...]" they are not counted at all.
void MarkupReader::readDeclaration() {
  int angles = 0;
  int brackets = 0;
  int c = get();
  for (;;) {
    if (c == '>' && angles == 0 && brackets == 0) return;
    if (brackets == 0 && c == '<') {
      ++angles;
    } else if (brackets == 0 && c == '>') {
      --angles;
    } else if (c == '[') {
      ++brackets;
    } else if (c == ']') {
      --brackets;
    }
    tokenText += static_cast<char>(c);
    if (!isGood()) unexpectedEnd();
    c = get();
  }
}

void MarkupReader::readToken() {
  readNextToken();
  if (watcher) watcher(pendingKind, tokenText);
}

void MarkupReader::readNextToken() {
  tokenText.clear();
  pendingKind = None;
  skipWhitespace();
  if (!isGood()) unexpectedEnd();
  int c = get();
  if (c != '<') {
    // Character data always ends at the next "<"; running into the end of the
    // file instead is an error.
    tokenText += static_cast<char>(c);
    for (;;) {
      if (!isGood()) unexpectedEnd();
      c = get();
      if (c == '<') {
        unget();
        pendingKind = Text;
        return;
      }
      tokenText += static_cast<char>(c);
    }
  }
  if (!isGood()) unexpectedEnd();
  const int d = get();
  if (d == '/') {
    readUntilClosingBracket();
    pendingKind = EndTag;
  } else if (d == '!' || d == '&' || d == '?') {
    readDeclaration();
    pendingKind = Declaration;
  } else if (d == '>') {
    pendingKind = StartTag;
  } else {
    tokenText += static_cast<char>(d);
    if (!isGood()) unexpectedEnd();
    readUntilClosingBracket();
    pendingKind = StartTag;
  }
}

// Declarations (comments, processing instructions) are passed over by the tag
// tests, never by readText.
bool MarkupReader::expectTag(TokenKind kind, std::string_view name) {
  for (;;) {
    if (pendingKind == None) readToken();
    if (pendingKind != Declaration) break;
    pendingKind = None;
  }
  if (pendingKind == kind && tokenText == name) {
    pendingKind = None;
    return true;
  }
  return false;
}

bool MarkupReader::expectStartTag(std::string_view name) { return expectTag(StartTag, name); }

bool MarkupReader::expectEndTag(std::string_view name) { return expectTag(EndTag, name); }

bool MarkupReader::readText(std::string& out) {
  if (pendingKind == None) readToken();
  if (pendingKind == Text) {
    out = tokenText;
    pendingKind = None;
    return true;
  }
  if (pendingKind == EndTag) {
    out.clear();
    return true;
  }
  return false;
}

MarkupReader::TokenKind MarkupReader::peek() {
  if (pendingKind == None) readToken();
  return pendingKind;
}

bool MarkupReader::skipElement() {
  if (pendingKind == None) readToken();
  if (pendingKind != StartTag) return false;
  // Counting, not recursion: a deeply nested element must not exhaust the stack.
  auto opensElement = [this] { return tokenText.empty() || tokenText.back() != '/'; };
  long depth = opensElement() ? 1 : 0;
  pendingKind = None;
  while (depth > 0) {
    readToken();
    if (pendingKind == StartTag && opensElement()) ++depth;
    else if (pendingKind == EndTag) --depth;
    pendingKind = None;
  }
  return true;
}
