// Text output helpers shared by the subcommands: numbers in the C locale,
// names made printable, JSON and XML escaping.
#ifndef OSTRA_TOOL_FORMAT_H
#define OSTRA_TOOL_FORMAT_H

#include <string>

#include <brevo/geometry.h>

namespace tool {

// A number with 6 decimals; a value that rounds to zero prints as 0.000000
// (never -0.000000). nan and inf print as printf spells them.
std::string fixed6(double v);
// Three coordinates with 6 decimals, separated by single spaces.
std::string fixed6(const brevo::point& p);
std::string fixed6(const brevo::vector& v);

// The shortest text that reads back as the same double; used for JSON
// numbers and SVG coordinates. -0 prints as 0.
std::string shortest(double v);

// A JSON number, or null for nan and the infinities.
std::string jsonnumber(double v);
std::string jsonarray(double x, double y, double z);
std::string jsonarray(const brevo::point& p);
std::string jsonarray(const brevo::vector& v);
// A JSON string literal (with the quotes). Control characters are escaped;
// bytes that do not form valid UTF-8 become U+FFFD, so the result is always
// valid JSON text.
std::string jsonstring(const std::string& s);

// Text for an XML attribute value or element content: markup characters
// escaped, invalid UTF-8 and characters XML does not allow replaced.
std::string xmltext(const std::string& s);

// A name as the plain-text listings print it: unchanged when it is not empty
// and holds only printable characters other than space, quote and
// backslash; otherwise in double quotes with C-style escapes.
std::string plainname(const std::string& s);

// Text as a message shows it on a terminal: printable characters of valid
// UTF-8 as they are; the control characters (below space, DEL, and
// U+0080 to U+009F) and every byte that is not part of valid UTF-8 as \xNN
// (\u00NN for a control character above DEL), so that no bytes of a
// drawing or a command line reach the terminal raw.
std::string printable(const std::string& s);

// The input with invalid UTF-8 replaced by U+FFFD.
std::string validutf8(const std::string& s);

}  // namespace tool

#endif
