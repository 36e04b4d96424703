// Command lines as a shell reads them, for the compiler commands of a build
// description: words, and the commands of a list.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Words of a command-line fragment as a shell splits them: white space
// separates, double and single quotes group (and are removed), a backslash
// keeps the next character.
std::vector<std::string> shellWords(std::string_view text);

// The commands of a shell list, split at ";", "&&" and "||" outside quotes,
// as written (quotes kept).
std::vector<std::string_view> shellCommands(std::string_view text);

// The same, one command at a time: a list of millions of commands ("&&&&...")
// needs no list of them.
void forEachShellCommand(std::string_view text, const std::function<void(std::string_view)>& use);

// A recipe as make hands it to the shell and the shell runs it: its simple
// commands, one at a time, with how surely each runs.
//
// Make's side: each line may begin with "@", "-" and "+", which name no
// program; "$$" is one "$" for the shell and is kept as written in the words
// (the caller turns it into "$" when the words are done with). A "$(...)"
// or "${...}" that is still there is a make variable nobody defines, one
// word part like the shell's own "$$(...)", "$${...}" and `...`.
// The shell's side: commands end at ";", "&", "&&", "||", "|" and line
// breaks outside quotes and substitutions, a backslash-newline joins two
// lines; "if then elif else fi", "case in esac", "for while until do done",
// "{ }", "!" and the parentheses of a subshell are syntax, not words;
// redirections ("2>&1", ">log", "<in") and "# comments" are dropped.
enum class ShellReach {
  Runs,   // as surely as the recipe runs
  Maybe,  // in a branch whose condition cannot be told, or a loop's body
  Never,  // in a branch whose condition is known false ([ "0" = "1" ], false)
};

struct ShellCommand {
  std::vector<std::string> words;  // the program first, quotes removed
  ShellReach reach = ShellReach::Runs;
  std::size_t index = 0;  // its place among the recipe's simple commands, from 0
  // The marks (below) of white space that ended one of its words.
  std::vector<unsigned char> splitBy;
};

// Bytes a caller puts into a recipe before it is read. kKeep followed by a
// byte makes that byte a plain character of a word, whatever it is (a space
// of a path, a quote); kKeep kSplitMark ID C is the white space C of a value
// make splits like any other, kept as C inside quotes and noted by its ID
// (1 to 255) where it ends a word.
inline constexpr char kKeep = '\0';
inline constexpr char kSplitMark = '\x01';

// Calls `use` for each simple command of `recipe` in order, the commands of
// branches that never run too; `use` may take the words. Linear in the
// recipe's size, whatever it holds. `lines`: the text is make's recipe
// lines, whose prefixes name no program; else a part of a command.
void readRecipe(std::string_view recipe, const std::function<void(ShellCommand&)>& use,
                bool lines = true);

// `text` with each byte a recipe would read as syntax (white space, quotes,
// ";&|<>()`#%\") kept by kKeep, and "$" written "$$": a path that stays one
// word of the command whatever it holds.
std::string keptWhole(std::string_view text);

// `text` without the bytes kKeep and kSplitMark put in: as it was.
std::string withoutMarks(std::string_view text);
