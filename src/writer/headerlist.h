// The header variables given to the writer, written as the HEADER section in
// the extended mode.
#ifndef OSTRA_WRITER_HEADERLIST_H
#define OSTRA_WRITER_HEADERLIST_H

#include <cstdio>
#include <string>
#include <vector>

namespace ostra {

class headerlist {
public:
    // Adds a group (code, value) to the variable name: to the last variable
    // when it has that name, else as a new variable after it. False (and
    // nothing added) for a name that is not '$' and more, is longer than
    // 79 chars or holds a blank or a control character; a code outside
    // 1..1071, 9 (which names variables) or 999 (a comment); a null value or
    // one holding a line break; a variable given before that is not the last
    // one (names compared without regard to case); a code the variable has;
    // or no memory.
    bool add(const char* name, int code, const char* value);
    bool empty() const { return variables_.empty(); }
    // The HEADER section: per variable 9 and its name, then its groups.
    bool write(FILE* stream) const;

private:
    struct group {
        int code;
        std::string value;
    };
    struct variable {
        std::string name;
        std::vector<group> groups;
    };
    std::vector<variable> variables_;
};

}  // namespace ostra

#endif
