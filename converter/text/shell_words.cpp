#include "text/shell_words.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::array<bool, 256> bytesOf(std::string_view bytes) {
  std::array<bool, 256> in{};
  for (const char c : bytes) in[static_cast<unsigned char>(c)] = true;
  return in;
}

// The bytes outside quotes that a list of commands turns on, and those that
// end a run of plain characters in a word.
constexpr auto kCommandSyntax = bytesOf("\"'\\;&|");
constexpr auto kWordSyntax = bytesOf("\"'\\ \t\n\r\v\f");

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

}  // namespace

std::vector<std::string> shellWords(std::string_view text) {
  std::vector<std::string> words;
  std::string word;
  bool inWord = false;
  char quote = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quote != 0) {
      if (c == quote) quote = 0;
      else if (c == '\\' && quote == '"' && i + 1 < text.size() &&
               (text[i + 1] == '"' || text[i + 1] == '\\')) word += text[++i];
      else word += c;
    } else if (isSpace(c)) {
      if (inWord) words.push_back(std::move(word));
      word.clear();
      inWord = false;
    } else {
      inWord = true;
      if (c == '"' || c == '\'') {
        quote = c;
      } else if (c == '\\' && i + 1 < text.size()) {
        word += text[++i];
      } else {
        // The plain characters up to the next space, quote or backslash
        // are taken at once: a command may hold a hundred thousand words.
        std::size_t end = i + 1;
        while (end < text.size() && !kWordSyntax[static_cast<unsigned char>(text[end])]) ++end;
        word.append(text, i, end - i);
        i = end - 1;
      }
    }
  }
  if (inWord) words.push_back(std::move(word));
  return words;
}

std::vector<std::string_view> shellCommands(std::string_view text) {
  std::vector<std::string_view> commands;
  forEachShellCommand(text, [&](std::string_view command) { commands.push_back(command); });
  return commands;
}

void forEachShellCommand(std::string_view text, const std::function<void(std::string_view)>& use) {
  char quote = 0;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    // Between the bytes that quote, escape or separate, nothing to do: a
    // command may run to megabytes of options.
    while (quote == 0 && i < text.size() && !kCommandSyntax[static_cast<unsigned char>(text[i])]) {
      ++i;
    }
    if (i == text.size()) break;
    const char c = text[i];
    if (quote != 0) {
      if (c == quote) quote = 0;
      else if (c == '\\' && quote == '"') ++i;
      continue;
    }
    if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == '\\') {
      ++i;
    } else if (c == ';' || ((c == '&' || c == '|') && i + 1 < text.size() && text[i + 1] == c)) {
      use(text.substr(start, i - start));
      if (c != ';') ++i;
      start = i + 1;
    }
  }
  use(text.substr(std::min(start, text.size())));
}

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

// Outside quotes, the bytes that end a run of plain characters; inside
// double quotes, and inside single ones.
constexpr auto kUnquotedSyntax = bytesOf(std::string_view("\"'\\ \t\n\r\v\f;&|()<>$`#\0", 20));
constexpr auto kDoubleQuotedSyntax = bytesOf(std::string_view("\"\\$`\0", 5));
constexpr auto kSingleQuotedSyntax = bytesOf(std::string_view("'\0", 2));
constexpr auto kKeptBytes = bytesOf("\"'\\ \t\n\r\v\f;&|()<>`#%");

enum class Tri { False, True, Unknown };

ShellReach atLeast(ShellReach a, ShellReach b) { return a > b ? a : b; }

// A test whose words are all plain text: [ "0" = "1" ], test -n x, true.
Tri resultOf(const std::vector<std::string>& words, const std::vector<bool>& expands) {
  if (words.empty()) return Tri::Unknown;
  const std::string& program = words[0];
  if (program == "true" || program == ":") return Tri::True;
  if (program == "false") return Tri::False;
  std::size_t first = 1, last = words.size();
  if (program == "[") {
    if (words.back() != "]") return Tri::Unknown;
    --last;
  } else if (program != "test") {
    return Tri::Unknown;
  }
  for (std::size_t i = first; i < last; ++i) {
    if (expands[i]) return Tri::Unknown;
  }
  const auto told = [](bool value) { return value ? Tri::True : Tri::False; };
  switch (last - first) {
    case 0: return Tri::False;
    case 1: return told(!words[first].empty());
    case 2:
      if (words[first] == "-n") return told(!words[first + 1].empty());
      if (words[first] == "-z" || words[first] == "!") return told(words[first + 1].empty());
      return Tri::Unknown;
    case 3: {
      const std::string& op = words[first + 1];
      if (op == "=" || op == "==") return told(words[first] == words[first + 2]);
      if (op == "!=") return told(words[first] != words[first + 2]);
      return Tri::Unknown;
    }
    default: return Tri::Unknown;
  }
}

class RecipeReader {
 public:
  RecipeReader(std::string_view text, const std::function<void(ShellCommand&)>& use, bool lines)
      : s(text), use(use), lines(lines) {
    frames.push_back({});
  }

  void read() {
    bool lineStart = lines;
    while (i < s.size()) {
      if (lineStart) {
        // Make's "@", "-" and "+" in front of a line: no part of the command.
        while (i < s.size() && (isBlank(s[i]) || s[i] == '@' || s[i] == '-' || s[i] == '+')) ++i;
        lineStart = false;
        continue;
      }
      const char c = s[i];
      if (c == kKeep) {
        kept();
      } else if (quote == '\'') {
        if (c == '\'') {
          quote = 0;
          ++i;
        } else {
          plainRun(kSingleQuotedSyntax);
        }
      } else if (quote == '"') {
        if (c == '"') {
          quote = 0;
          ++i;
        } else if (c == '\\') {
          escapedInDoubleQuotes();
        } else if (c == '$' || c == '`') {
          dollarOrBackquote();
        } else {
          plainRun(kDoubleQuotedSyntax);
        }
      } else if (isBlank(c)) {
        endWord();
        ++i;
      } else if (c == '\n') {
        endWord();
        separator(Op::Semi);
        ++i;
        lineStart = lines;
      } else {
        unquoted(c);
      }
    }
    endWord();
    separator(Op::Semi);
  }

 private:
  enum class Op { Semi, DoubleSemi, And, Or, Pipe };
  struct Frame {
    enum Kind { Root, If, Loop, Case, Group, Subshell } kind = Root;
    enum Phase { Condition, Body, Header, Pattern } phase = Body;
    ShellReach outer = ShellReach::Runs;  // where the compound itself stands
    ShellReach reach = ShellReach::Runs;  // its part being read
    // An if: whether a branch before this one is taken.
    enum Earlier { NoneTaken, OneTaken, Unknown } earlier = NoneTaken;
    bool until = false;
    // The list being read: the result of its and-or chain so far, the
    // pipeline being read, and whether the chain skips that pipeline.
    Tri chain = Tri::True;
    Tri pipeline = Tri::Unknown;
    bool pipelineRan = false;
    bool negated = false;
    bool skipped = false;
    bool listRan = false;  // a pipeline of the list has run
    Tri listResult = Tri::True;  // the last whole list's
  };

  // kKeep and what it keeps.
  void kept() {
    if (i + 1 >= s.size()) {
      ++i;
      return;
    }
    if (s[i + 1] != kSplitMark) {
      append(s[i + 1]);
      plain = false;
      i += 2;
      return;
    }
    if (i + 3 >= s.size()) {
      i = s.size();
      return;
    }
    const auto id = static_cast<unsigned char>(s[i + 2]);
    const char space = s[i + 3];
    i += 4;
    if (quote != 0) {
      append(space);
      return;
    }
    if (inWord && id != 0) {
      splits[id] = true;
      anySplit = true;
    }
    endWord();
  }

  void append(char c) {
    word += c;
    inWord = true;
  }

  // The plain characters up to the next that matters, at once: a command
  // may hold a hundred thousand words.
  void plainRun(const std::array<bool, 256>& syntax) {
    std::size_t end = i + 1;
    while (end < s.size() && !syntax[static_cast<unsigned char>(s[end])]) ++end;
    word.append(s, i, end - i);
    inWord = true;
    i = end;
  }

  void escapedInDoubleQuotes() {
    if (i + 1 >= s.size()) {
      append('\\');
      ++i;
    } else if (s[i + 1] == '\n') {
      i += 2;
    } else if (s[i + 1] == '"' || s[i + 1] == '\\' || s[i + 1] == '`' || s[i + 1] == '$') {
      append(s[i + 1]);
      i += 2;
    } else {
      append('\\');
      ++i;
    }
  }

  void unquoted(char c) {
    switch (c) {
      case '\\':
        if (i + 1 < s.size() && s[i + 1] == '\n') {
          i += 2;  // a line continued
        } else if (i + 1 < s.size() && s[i + 1] != kKeep) {
          append(s[i + 1]);
          plain = false;
          i += 2;
        } else {
          append('\\');
          ++i;
        }
        return;
      case '\'':
      case '"':
        quote = c;
        inWord = true;
        plain = false;
        ++i;
        return;
      case '#':
        if (inWord) {
          append(c);
          ++i;
        } else {
          while (i < s.size() && s[i] != '\n') ++i;  // the line break ends the command
        }
        return;
      case ';':
        endWord();
        if (i + 1 < s.size() && s[i + 1] == ';') {
          separator(Op::DoubleSemi);
          i += 2;
        } else {
          separator(Op::Semi);
          ++i;
        }
        return;
      case '&':
      case '|': {
        endWord();
        const bool doubled = i + 1 < s.size() && s[i + 1] == c;
        if (c == '&') separator(doubled ? Op::And : Op::Semi);
        else separator(doubled ? Op::Or : Op::Pipe);
        i += doubled || (c == '|' && i + 1 < s.size() && s[i + 1] == '&') ? 2 : 1;
        return;
      }
      case '(':
        endWord();
        openSubshell();
        ++i;
        return;
      case ')':
        endWord();
        closeParenthesis();
        ++i;
        return;
      case '<':
      case '>':
        redirection(c);
        return;
      case '$':
      case '`':
        dollarOrBackquote();
        return;
      default: plainRun(kUnquotedSyntax);
    }
  }

  // "2>&1", ">>log", "<in", "<<-END": the operator, and its word dropped.
  void redirection(char c) {
    const bool number = inWord && plain && !expands && !word.empty() &&
                        std::all_of(word.begin(), word.end(), [](char d) { return d >= '0' && d <= '9'; });
    if (number) {
      word.clear();
      inWord = false;
    } else {
      endWord();
    }
    ++i;
    if (i < s.size() && (s[i] == c || s[i] == '&' || s[i] == '|' || (c == '<' && s[i] == '>'))) {
      const bool hereDocument = c == '<' && s[i] == '<';
      ++i;
      if (hereDocument && i < s.size() && s[i] == '-') ++i;
    }
    target = true;
  }

  // "$$(...)", "$${...}", `...` (the shell's) and "$(...)", "${...}" (make's,
  // left unexpanded) are part of a word as written, to their closing
  // character; "$$", "$<" and the like are two characters of it.
  void dollarOrBackquote() {
    expands = true;
    inWord = true;
    if (s[i] == '`') return static_cast<void>(substitution(1));
    const std::size_t escaped = i + 1 < s.size() && s[i + 1] == '$' ? 1 : 0;
    const std::size_t open = i + 1 + escaped;
    if (open < s.size() && (s[open] == '(' || s[open] == '{')) {
      return escaped == 1 ? static_cast<void>(substitution(3)) : makeReference();
    }
    // "$<", "$@": make's own, which the writer of each entry puts in.
    const bool named = escaped == 0 && open < s.size() && !isBlank(s[open]) && s[open] != '\n' &&
                       s[open] != kKeep;
    const std::size_t end = std::min(s.size(), open + (named ? 1 : 0));
    word.append(s, i, end - i);
    i = end;
  }

  // Make's reference left as written, "$(NAME)", "$(f $(A),b)", to its
  // closing parenthesis. Where it has none, "$(" is two characters; once
  // one had none, each after it runs to the first ")" (or "}") only: a
  // text of a million "$(" is read once.
  void makeReference() {
    if (!unclosedMet) {
      const std::size_t start = i, kept = word.size();
      if (substitution(2)) return;
      unclosedMet = true;
      i = start;
      word.resize(kept);
    }
    const char closer = s[i + 1] == '(' ? ')' : '}';
    std::size_t& close = closeAt[closer == ')' ? 0 : 1];
    if (close != std::string_view::npos && close < i + 2) close = s.find(closer, i + 2);
    const std::size_t end = close == std::string_view::npos ? i + 2 : close + 1;
    while (i < end) {
      if (s[i] == kKeep && i + 1 < s.size()) {
        const bool mark = s[i + 1] == kSplitMark;
        if (!mark || i + 3 < s.size()) word += s[i + (mark ? 3 : 1)];
        i += mark ? 4 : 2;
      } else {
        word += s[i++];
      }
    }
    i = std::max(i, end);
  }

  // From s[i], whose first `length` bytes open it, to the byte that closes
  // it, nested substitutions and quotes within it followed; false where
  // the text ends first.
  bool substitution(std::size_t length) {
    closers.clear();
    const char opener = s[i + length - 1];
    closers.push_back(opener == '(' ? ')' : opener == '{' ? '}' : '`');
    word.append(s, i, length);
    i += length;
    while (i < s.size() && !closers.empty()) {
      const char c = s[i];
      const char top = closers.back();
      if (c == kKeep) {
        if (i + 1 < s.size() && s[i + 1] == kSplitMark) {
          if (i + 3 < s.size()) word += s[i + 3];
          i += 4;
        } else {
          if (i + 1 < s.size()) word += s[i + 1];
          i += 2;
        }
        continue;
      }
      ++i;
      word += c;
      if (top == '\'') {
        if (c == '\'') closers.pop_back();
        continue;
      }
      if (c == top) {
        closers.pop_back();
      } else if (c == '\\' && i < s.size() && s[i] != kKeep) {
        word += s[i++];
      } else if (c == '`') {
        closers.push_back('`');
      } else if (top == '`') {
        // Inside backquotes only a backquote or a backslash matters.
      } else if (c == '"') {
        closers.push_back('"');
      } else if (c == '\'' && top != '"') {
        closers.push_back('\'');
      } else if (c == '$' && i < s.size() && (s[i] == '(' || s[i] == '{')) {
        word += s[i];
        closers.push_back(s[i++] == '(' ? ')' : '}');
      } else if (c == '(' && top != '"') {
        closers.push_back(')');
      }
    }
    return closers.empty();
  }

  void endWord() {
    if (!inWord) return;
    if (target) {
      target = false;
    } else if (!(words.empty() && syntaxWord(plain && !expands))) {
      words.push_back(std::move(word));
      expanding.push_back(expands);
    }
    word.clear();
    inWord = false;
    plain = true;
    expands = false;
  }

  Frame& top() { return frames.back(); }

  // Where the next command of the innermost frame stands.
  ShellReach reachHere() {
    const ShellReach reach = atLeast(top().reach, top().skipped ? ShellReach::Never : ShellReach::Runs);
    return deepBeyond > 0 ? atLeast(reach, ShellReach::Maybe) : reach;
  }

  void endCommand() {
    target = false;
    if (words.empty()) return;
    ShellCommand command;
    command.reach = reachHere();
    command.index = count++;
    const Tri result = resultOf(words, expanding);
    Frame& frame = top();
    if (!frame.skipped) {
      frame.pipeline = result;
      frame.pipelineRan = true;
    }
    command.words = std::move(words);
    if (anySplit) {
      for (std::size_t id = 1; id < splits.size(); ++id) {
        if (splits[id]) command.splitBy.push_back(static_cast<unsigned char>(id));
      }
      splits = {};
      anySplit = false;
    }
    use(command);
    words.clear();
    expanding.clear();
  }

  // The pipeline ends: its result joins the chain unless the chain skipped it.
  void endPipeline() {
    Frame& frame = top();
    if (!frame.skipped && frame.pipelineRan) {
      const Tri result = frame.pipeline;
      frame.chain = !frame.negated || result == Tri::Unknown
                        ? result
                        : (result == Tri::True ? Tri::False : Tri::True);
    }
    frame.listRan = frame.listRan || frame.pipelineRan;
    frame.pipelineRan = false;
    frame.pipeline = Tri::Unknown;
    frame.negated = false;
  }

  void endList() {
    endCommand();
    endPipeline();
    Frame& frame = top();
    if (frame.listRan) frame.listResult = frame.chain;
    frame.chain = Tri::True;
    frame.skipped = false;
    frame.listRan = false;
  }

  void separator(Op op) {
    if (op == Op::Pipe) return endCommand();
    if (op == Op::And || op == Op::Or) {
      endCommand();
      endPipeline();
      Frame& frame = top();
      frame.skipped = frame.chain == (op == Op::And ? Tri::False : Tri::True);
      return;
    }
    endList();
    if (op == Op::DoubleSemi && in(Frame::Case)) top().phase = Frame::Pattern;
  }

  // Frames beyond this depth are counted, not kept: a file of a million
  // "if"s needs no million frames.
  static constexpr std::size_t kMaxDepth = 256;

  void push(Frame::Kind kind, Frame::Phase phase) {
    if (frames.size() >= kMaxDepth || deepBeyond > 0) {
      ++deepBeyond;
      return;
    }
    const ShellReach here = reachHere();
    Frame frame;
    frame.kind = kind;
    frame.phase = phase;
    frame.outer = here;
    frame.reach = here;
    frames.push_back(frame);
  }

  // The compound ends: to the list around it, a command whose result is unknown.
  bool pop(Frame::Kind kind) {
    if (deepBeyond > 0) {
      --deepBeyond;
      return true;
    }
    if (frames.size() == 1 || top().kind != kind) return false;
    endList();
    frames.pop_back();
    Frame& frame = top();
    if (!frame.skipped) {
      frame.pipeline = Tri::Unknown;
      frame.pipelineRan = true;
    }
    return true;
  }

  bool in(Frame::Kind kind) const { return deepBeyond == 0 && frames.back().kind == kind; }

  // The reach of a branch whose condition gave `result`.
  void branch(Tri result) {
    Frame& frame = top();
    const ShellReach maybe = atLeast(frame.outer, ShellReach::Maybe);
    frame.phase = Frame::Body;
    if (frame.earlier == Frame::OneTaken || result == Tri::False) {
      frame.reach = ShellReach::Never;
    } else if (result == Tri::True) {
      frame.reach = frame.earlier == Frame::NoneTaken ? frame.outer : maybe;
      frame.earlier = Frame::OneTaken;
    } else {
      frame.reach = maybe;
      frame.earlier = Frame::Unknown;
    }
  }

  // A word in a command's first place that is syntax: a reserved word (not
  // quoted, `bare`), with what it opens or closes, or a word of a loop's or
  // a case's head. False where the word is none.
  bool syntaxWord(bool bare) {
    const std::string_view w = bare ? std::string_view(word) : std::string_view();
    if (deepBeyond == 0) {
      Frame& frame = top();
      if (frame.phase == Frame::Header) {
        if (frame.kind == Frame::Case && w == "in") frame.phase = Frame::Pattern;
        if (frame.kind == Frame::Loop && w == "do") {
          frame.phase = Frame::Body;
          frame.reach = atLeast(frame.outer, ShellReach::Maybe);
        }
        return true;  // a for loop's name and words, a case's word
      }
      if (frame.phase == Frame::Pattern) {
        if (w == "esac") pop(Frame::Case);
        return true;  // a pattern
      }
    }
    if (!bare) return false;
    // A compound command is part of the pipeline being read: it opens
    // without ending the list.
    if (w == "if") {
      push(Frame::If, Frame::Condition);
    } else if (w == "then") {
      if (in(Frame::If) && top().phase == Frame::Condition) {
        endList();
        branch(top().listResult);
      }
    } else if (w == "elif" || w == "else") {
      if (in(Frame::If)) {
        endList();
        Frame& frame = top();
        frame.reach = frame.earlier == Frame::OneTaken ? ShellReach::Never
                      : frame.earlier == Frame::NoneTaken
                          ? frame.outer
                          : atLeast(frame.outer, ShellReach::Maybe);
        if (w == "elif") {
          frame.phase = Frame::Condition;
          frame.listResult = Tri::True;
        } else {
          frame.phase = Frame::Body;
          frame.earlier = Frame::OneTaken;
        }
      }
    } else if (w == "fi") {
      pop(Frame::If);
    } else if (w == "while" || w == "until") {
      push(Frame::Loop, Frame::Condition);
      if (deepBeyond == 0) top().until = w == "until";
    } else if (w == "for") {
      push(Frame::Loop, Frame::Header);
    } else if (w == "do") {
      if (in(Frame::Loop) && top().phase == Frame::Condition) {
        endList();
        Frame& frame = top();
        const Tri result = frame.listResult;
        const bool never = result == (frame.until ? Tri::True : Tri::False);
        frame.phase = Frame::Body;
        frame.reach = never ? ShellReach::Never : atLeast(frame.outer, ShellReach::Maybe);
      }
    } else if (w == "done") {
      pop(Frame::Loop);
    } else if (w == "case") {
      push(Frame::Case, Frame::Header);
    } else if (w == "esac") {
      pop(Frame::Case);
    } else if (w == "{") {
      push(Frame::Group, Frame::Body);
    } else if (w == "}") {
      pop(Frame::Group);
    } else if (w == "!") {
      top().negated = !top().negated;
    } else {
      return false;
    }
    return true;
  }

  void openSubshell() {
    if (deepBeyond == 0 && top().phase == Frame::Pattern) return;  // "(a)" of a case
    endCommand();
    push(Frame::Subshell, Frame::Body);
  }

  void closeParenthesis() {
    if (deepBeyond == 0 && top().kind == Frame::Case && top().phase == Frame::Pattern) {
      Frame& frame = top();
      frame.phase = Frame::Body;
      frame.reach = atLeast(frame.outer, ShellReach::Maybe);
      return;
    }
    if (!pop(Frame::Subshell)) endList();  // one too many: it ends the command
  }

  std::string_view s;
  const std::function<void(ShellCommand&)>& use;
  const bool lines;
  std::size_t i = 0;
  char quote = 0;
  std::string word;
  bool inWord = false;
  bool plain = true;     // no part of the word is quoted or kept
  bool expands = false;  // a part of it is a substitution or a variable
  bool target = false;   // the word is a redirection's
  std::vector<std::string> words;
  std::vector<bool> expanding;  // by word
  std::vector<Frame> frames;
  std::size_t deepBeyond = 0;
  std::vector<char> closers;
  bool unclosedMet = false;  // a make reference ran to the end of the text unclosed
  std::size_t closeAt[2] = {0, 0};  // the next ")" and "}" since, once looked for
  std::array<bool, 256> splits{};
  bool anySplit = false;
  std::size_t count = 0;
};

}  // namespace

void readRecipe(std::string_view recipe, const std::function<void(ShellCommand&)>& use,
                bool lines) {
  RecipeReader(recipe, use, lines).read();
}

std::string keptWhole(std::string_view text) {
  std::string kept;
  kept.reserve(text.size());
  for (const char c : text) {
    if (c == '$') kept += '$';
    else if (kKeptBytes[static_cast<unsigned char>(c)]) kept += kKeep;
    kept += c;
  }
  return kept;
}

std::string withoutMarks(std::string_view text) {
  std::string plain;
  plain.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != kKeep) {
      plain += text[i];
    } else if (i + 1 < text.size() && text[i + 1] == kSplitMark) {
      if (i + 3 < text.size()) plain += text[i + 3];
      i += 3;
    } else if (i + 1 < text.size()) {
      plain += text[++i];
    }
  }
  return plain;
}
