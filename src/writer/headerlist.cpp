#include "writer/headerlist.h"

#include <cstring>
#include <new>

#include "writer/layerlist.h"
#include "writer/record.h"

namespace ostra {

namespace {

bool validname(const char* name) {
    if (!name || name[0] != '$' || !name[1] || std::strlen(name) > static_cast<std::size_t>(maxvariablename)) return false;
    for (const char* p = name; *p; ++p)
        if (static_cast<unsigned char>(*p) <= ' ' || *p == 0x7F) return false;
    return true;
}

}  // namespace

bool headerlist::add(const char* name, int code, const char* value) {
    if (!validname(name) || code < 1 || code > 1071 || code == 9 || code == 999) return false;
    if (!value || std::strpbrk(value, "\r\n")) return false;
    const bool last = !variables_.empty() && samename(variables_.back().name, name);
    if (!last) {
        for (const variable& v : variables_)
            if (samename(v.name, name)) return false;
    } else {
        for (const group& g : variables_.back().groups)
            if (g.code == code) return false;
    }
    try {
        if (!last) variables_.push_back(variable{name, {}});
        variables_.back().groups.push_back(group{code, value});
    } catch (const std::bad_alloc&) {
        // A new variable without its group is taken back; the vector keeps
        // its old contents when an append throws.
        if (!last && !variables_.empty() && variables_.back().groups.empty()) variables_.pop_back();
        return false;
    }
    return true;
}

bool headerlist::write(FILE* stream) const {
    std::string text;
    try {
        text = "  0\nSECTION\n  2\nHEADER\n";
        for (const variable& v : variables_) {
            text += "  9\n" + v.name + '\n';
            for (const group& g : v.groups) text += "  " + std::to_string(g.code) + '\n' + g.value + '\n';
        }
        text += "  0\nENDSEC\n";
    } catch (const std::bad_alloc&) {
        return false;
    }
    return writeall(stream, text.data(), text.size());
}

}  // namespace ostra
