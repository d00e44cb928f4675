#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/currency.h"

namespace kestrova::core {

// Reads an amount text the way the boxes are read, whatever the user's locale: blanks, tabs
// and line feeds are skipped anywhere; optional sign; digits with one point; optional
// exponent; "&H"/"&O" whole numbers; stops at the first character that cannot continue the
// number; nothing numeric gives 0. nullopt when the value does not fit in a double.
std::optional<double> ReadAmount(std::string_view text);

// Two decimals, a tie going to the even hundredth. nullopt when the hundredfold value overflows.
std::optional<double> Round2(double value);

// At most 15 significant digits, plain below 1E+15 and "1.93627E+15" form from there; no
// grouping, no trailing zeros, never "-0". `decimalSeparator` is the user's locale separator.
std::string FormatAmount(double value, std::string_view decimalSeparator);

// Overwrites, one character per occurrence, every `vstrA` in `vstrInputString` with the first
// character of `vstrB`. Characters are UTF-8 code points; the result has as many characters as
// the input.
std::string mReplaceInString(std::string_view vstrInputString, std::string_view vstrA,
                             std::string_view vstrB);

enum class Operation {
  EuroToNational,  // multiply by the rate
  NationalToEuro,  // divide by the rate
};

// One full conversion from a source box into a target box. `row` is the country whose flag is
// on show, or nullptr. Gives the target box's new text, or nullopt to leave the target as it is.
// With no row only the comma-to-point step runs on the target text. An amount that overflows a
// double on the way leaves the target as it is. A locale separator that is neither the point nor
// the comma is written as a point, so the box can read its own amounts back.
std::optional<std::string> Convert(std::string_view sourceText, std::string_view targetText,
                                   const CountryRecord* row, Operation operation,
                                   std::string_view decimalSeparator);

}  // namespace kestrova::core
