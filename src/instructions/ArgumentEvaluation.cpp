// Evaluation of command arguments: numbers, booleans, strings and variable
// references. There is no arithmetic; an expression is a literal, possibly
// built by variable references.
#include <cctype>

#include "base/LauncherException.h"
#include "base/Tokenizer.h"
#include "instructions/Instructions.h"

VariableRef Instructions::parseVariableRef(const SString& text, const SString& context) const {
  if (text.length() < 2) {
    throw LauncherException(context + " " + "Variable references must be at least 2 characters (e.g. N1 and S10).");
  }
  VariableRef ref = {0, 0};
  ref.type = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
  if (ref.type != 'N' && ref.type != 'S') {
    throw LauncherException(context + " " + "Invalid variable reference (" + text +
                            "). Must use N or S as the variable type, e.g. N2 or S1.");
  }
  const SString numberText = text.substr(1);
  bool valid = toLong(numberText, ref.number);
  if (valid) valid = ref.type == 'N' ? isValidNumericVariable(ref.number) : isValidStringVariable(ref.number);
  if (!valid) throw LauncherException(context + " " + "Variable number is invalid (" + numberText + ")");
  return ref;
}

void Instructions::setVariable(const VariableRef& ref, const SString& text, const SString& context) const {
  if (ref.type == 'S') {
    setStringVariable(ref.number, text);
    return;
  }
  long value = 0;
  if (!toLong(text, value)) throw LauncherException(context + " " + "Invalid numeric expression in " + text);
  setNumericVariable(ref.number, value);
}

SString Instructions::variableText(const VariableRef& ref) const {
  return ref.type == 'N' ? fromLong(getNumericVariable(ref.number)) : getStringVariable(ref.number);
}

long Instructions::evalNumber(const SString& argument, const SString& context) const {
  return evalLong(argument, context, "");
}

// Read as a long and cut to a short, as the C library's "%hd" does.
short Instructions::evalShort(const SString& argument, const SString& context) const {
  return static_cast<short>(evalLong(argument, context, " "));
}

long Instructions::evalLong(const SString& argument, const SString& context, const char* separator) const {
  SString expanded = argument;
  expandVariables(expanded, context);
  long value = 0;
  if (!toLong(expanded, value)) raiseError(context + separator + "Invalid numeric expression (" + expanded + ")");
  return value;
}

bool Instructions::evalBool(const SString& argument, const SString& context) const {
  long value = evalNumber(argument, context);
  if (value != 0 && value != 1) raiseError(context + " Invalid boolean value (" + argument + ")");
  return value == 1;
}

void Instructions::evalString(SString& argument, const SString& context) const {
  if (argument.empty()) return;
  const bool quoted = argument.c_str()[0] == '"';
  SString::size_type pos = quoted ? 1 : 0;
  argument = readArgument(argument, pos, quoted);
  expandVariables(argument, context);
}

// Only the extent of the argument is found here; the quotes stay in the text
// and evalString removes them, so a doubled quote must not end it.
void Instructions::readQuotedArgument(const SString& line, SString::size_type& pos, SString& out,
                                      const SString& context) const {
  const SString::size_type length = line.length();
  SString::size_type start = pos < length ? pos : length;
  bool leading = true;
  bool quoted = false;
  bool ended = false;
  unsigned quoteRun = 0;
  SString::size_type i = start;
  SString::size_type textStart = length;
  SString::size_type textEnd = length;
  for (; i < length && !ended; ++i) {
    const char c = line.c_str()[i];
    if (leading) {
      if (isWhite(c)) continue;
      leading = false;
      quoted = c == '"';
      textStart = i;
    } else if (quoted) {
      if (c == '"') {
        ++quoteRun;
        const bool nextIsQuote = i + 1 < length && line.c_str()[i + 1] == '"';
        if (quoteRun % 2 == 1 && !nextIsQuote) ended = true;
      } else {
        quoteRun = 0;
      }
    } else if (isWhite(c)) {
      // The blank ends a plain argument and is not part of it.
      textEnd = i;
      ended = true;
      continue;
    }
    textEnd = i + 1;
  }
  if (pos < length) pos = i;
  out = textStart < textEnd ? line.substr(textStart, textEnd - textStart) : SString();
  if (quoted && !ended) throw LauncherException("Expected ending quote in " + out + ":  " + context);
  evalString(out, context);
}
