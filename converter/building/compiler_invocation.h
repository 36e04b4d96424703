// A compile command as Workbench's make runs it: the build spec's recipe for
// one language with its placeholders replaced, then (by the caller) its
// variables expanded, then split into words as /bin/sh splits them; and what
// the compiler takes from those words.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <vector>

// What one language's recipe is made of, each entry as the file writes it.
struct ToolRecipe {
  std::string command;     // Tool|<tool>|cmd; empty: the file has none
  std::string toolFlags;   // Tool|<tool>|flags
  std::string debugFlags;  // Tool|<tool>|dbgFlags, or nonDbgFlags outside debug mode
  std::string defines;     // the defines list's entries, joined by spaces
  std::string includes;    // the include list's entries, joined by spaces
};

// The recipe with %ccompilerprefix% and %cppcompilerprefix% gone,
// %DebugModeFlags%, %ToolFlags%, %Defines% and %Includes% replaced by their
// entries, %OutFile% by "$@" and %InFile% by "$<"; without a command, the
// flags alone, with no program.
// A command may name its lists many times over: each placeholder takes its
// value at the first place the command names it, and at the places after
// it only while the recipe stays within four times the command with each
// value put in once, or 4 MB where that is more (recipeBound). A place past
// that keeps its placeholder as written, and `cut`, when given, is set.
std::string recipeText(const ToolRecipe& recipe, bool* cut = nullptr);
std::size_t recipeBound(const ToolRecipe& recipe);

// The lists the command does not name (%Defines%, %Includes%), which the
// command that compiles is given at its end, so that a hand-made command
// does not lose the project's lists.
std::string listsNotNamed(const ToolRecipe& recipe);

// "${NAME}" written as "$(NAME)": make reads both alike ("$${NAME}" is the
// shell's, and stays).
std::string parenthesised(std::string_view text);

// The kinds of include folder, in the order the compiler searches them.
enum class IncludeKind { Quote, Plain, System, After };

struct CompilerInvocation {
  // The compiler's words, the program first; "$<" stands for the source and
  // "$@" for its object, as make would put them in.
  std::vector<std::string> words;
  std::string program;  // the program the first word names; empty: none could be told
  // The -D and -U words applied in order: a later -D of a name replaces an
  // earlier one, -U removes it. "-DX=" (defined empty) stays apart from
  // "-DX" (defined as 1): it is held as the name "X=" with no value, which
  // the analyser personality writes as "X=".
  std::map<std::string, std::string> macros;
  struct Include {
    IncludeKind kind;
    std::size_t word;  // the option's word
    bool separate;     // the folder is the next word ("-I dir", "-isystem dir")
    std::string path;
  };
  std::vector<Include> includes;  // in command order

  // Which of the recipe's simple commands (readRecipe) compiles, from 1;
  // 0: none can be told, and the invocation is empty.
  std::size_t command = 0;
  std::size_t commands = 0;  // the recipe's simple commands
  bool maybe = false;        // it lies in a branch whose condition is unknown
  // The marks of the values given or from the environment whose white
  // space split its words (kSplitMark).
  std::vector<unsigned char> splitBy;
};

// The invocation of an expanded recipe (in make's notation, "$$" for "$"):
// of its simple commands the first that compiles the source, as readRecipe
// reads them, outside a branch that never runs. That is the first naming
// "$<" and, where any command has "-c", having "-c"; without any naming
// "$<", the first having "-c"; without those, the one command, where the
// recipe has one. One in a branch whose condition is unknown is taken only
// where no surer one compiles. Its words from the program on, `lists`
// (listsNotNamed) after them; a word that is nothing but references left
// unexpanded is dropped, as make expands a variable nobody defines to
// nothing. Where it names no object or no source, "-o" "$@" and "-c" "$<"
// end it.
CompilerInvocation invocationOf(std::string_view expandedRecipe, std::string_view lists = {});

// The invocation's words, program, include folders and macros with make's
// "$$" turned into the "$" the compiler is given: once nothing more is
// read from them as make's text.
void takeDollarsLiterally(CompilerInvocation& invocation);
