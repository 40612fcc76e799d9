// The instructions script drives a launch: a line-oriented language whose
// lines are the values of the INSTRUCTIONS tag of a tag file.
//
//   INITIALIZE_UI
//   FIND_JVM 1 1
//   JMP0 @N1@ DO_INSTALL
//   LAUNCH @S2@ 0
//   GOTO DONE
//   :DO_INSTALL
//   :DONE
//
// Each line is a command word and its arguments, a label (":NAME"), or a
// comment ("//"). Arguments may reference the script variables as @N1@ or
// @S2@, and "@@" stands for one '@'. The commands themselves live in
// Commands.cpp; this class runs the lines, finds labels and evaluates
// arguments for them.
#pragma once

#include <cstdint>

#include "base/SString.h"
#include "instructions/ControllerOperations.h"
#include "instructions/InstructionsException.h"
#include "instructions/Variables.h"

class StringDeque;
class TagFile;

class Instructions {
 public:
  // Both are borrowed: the archive owns the tag file, the launcher core the
  // controller, and both must outlive the script.
  Instructions(TagFile* tagFile, ControllerOperations* controller);

  // Runs the script from its first line; returns the result of the last
  // LAUNCH or ILAUNCH, 0 when none ran. Only InstructionsException and
  // LauncherException escape.
  int execute();

  // Ends a run after maxLines executed lines as if the script had ended
  // there; 0, the default, sets no bound. A script may legitimately loop
  // until a launch ends the process, so the launcher sets none; a caller
  // that must get control back (the fuzz driver) does.
  void setLineLimit(unsigned long maxLines) { lineLimit_ = maxLines; }

  // Fails the line being executed.
  [[noreturn]] void raiseError(const SString& message) const;

  // The index of the first line that is exactly ":" + label, after
  // expanding variables in it.
  int32_t findLabel(const SString& label) const;

  // Every context leads the texts of the errors the call raises; the
  // commands use it to say which argument was wrong.
  void expandVariables(SString& text, const SString& context) const;
  VariableRef parseVariableRef(const SString& text, const SString& context) const;
  void setVariable(const VariableRef& ref, const SString& text, const SString& context) const;
  SString variableText(const VariableRef& ref) const;

  long evalNumber(const SString& argument, const SString& context) const;
  short evalShort(const SString& argument, const SString& context) const;
  bool evalBool(const SString& argument, const SString& context) const;
  // Unquotes (or cuts at the first blank) and expands, in place.
  void evalString(SString& argument, const SString& context) const;
  // Reads one argument of line from pos, which may be quoted to hold
  // blanks, and leaves pos after it.
  void readQuotedArgument(const SString& line, SString::size_type& pos, SString& out, const SString& context) const;

  ControllerOperations& getController() const { return *controller_; }
  // A jump sets the label line; execution goes on with the line after it.
  void setCurrentLine(int32_t line) { currentLine_ = line; }
  void setLastResult(int result) { lastResult_ = result; }

 private:
  const StringDeque* scriptLines() const;
  // evalNumber and evalShort read alike; their error texts differ in the
  // blank after the context.
  long evalLong(const SString& argument, const SString& context, const char* separator) const;

  TagFile* tagFile_;
  ControllerOperations* controller_;
  int32_t currentLine_;
  int lastResult_;
  unsigned long lineLimit_;
  // Characters the expansions of the current run produced; bounded, so
  // that no script spends long copying values. Counting does not change
  // what the script sees, hence mutable.
  mutable uint64_t expandedPerRun_;
};
