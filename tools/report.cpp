#include "report.h"

#include <ostra/units.h>

namespace tool {

std::string versionname(const std::string& v) {
    static const std::pair<const char*, const char*> names[] = {
        {"AC1006", "R10"},   {"AC1009", "R11/R12"}, {"AC1012", "R13"},   {"AC1014", "R14"},
        {"AC1015", "R2000"}, {"AC1018", "R2004"},   {"AC1021", "R2007"}, {"AC1024", "R2010"},
        {"AC1027", "R2013"}, {"AC1032", "R2018"}};
    for (const auto& n : names)
        if (v == n.first) return n.second;
    return "";
}

std::string unitname(const std::string& u) {
    if (u.empty() || u.size() > 2 || u.find_first_not_of("0123456789") != std::string::npos) return "";
    const char* name = ostra::unitname(std::stoi(u));
    return name ? name : "";
}

skippedcounts skipped(ostra::reader& r) {
    skippedcounts s;
    int n = 0;
    for (const char* name = r.firstskipped(n); name; name = r.nextskipped(n)) {
        if (name[0] == '*')
            s.hidden.emplace_back(name + 1, n);
        else
            s.records.emplace_back(name, n);
    }
    return s;
}

std::string listcounts(const std::vector<std::pair<std::string, int>>& counts) {
    std::string s;
    for (const auto& c : counts) s += (s.empty() ? "" : ", ") + std::to_string(c.second) + ' ' + c.first;
    return s;
}

}  // namespace tool
