// Number conversion with the conventions of the C locale, whatever locale the
// host has set.
#ifndef OSTRA_SUPPORT_NUMBER_H
#define OSTRA_SUPPORT_NUMBER_H

#include <cstddef>

namespace ostra {

// atof in the C locale: leading blanks are skipped, an optional sign, the
// decimal point is a full stop, conversion stops at the first character that
// cannot continue the number, and a text without a number gives 0. Where
// the caller knows that the chars up to readableend may be read (a
// fixed-size buffer holding the text), digits are read eight at a time;
// chars after the NUL are never taken for the number.
double parsedouble(const char* text, const char* readableend = nullptr);

// Formats v as printf("%.6f") does in the C locale into buf, which must hold
// at least formatcapacity chars; returns the number of chars written (no NUL).
// Where that text would be longer than formatlimit chars, the longest value a
// reader keeps, v is written in the shortest form that reads back exactly.
constexpr std::size_t formatcapacity = 330;
constexpr std::size_t formatlimit = 79;
std::size_t formatfixed6(double v, char* buf);

}  // namespace ostra

#endif
