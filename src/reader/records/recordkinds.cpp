#include "reader/records/recordkinds.h"

namespace ostra {

sectionkind sectionof(const char* name) {
    if (std::strcmp(name, "HEADER") == 0) return sheader;
    if (std::strcmp(name, "TABLES") == 0) return stables;
    if (std::strcmp(name, "BLOCKS") == 0) return sblocks;
    if (std::strcmp(name, "ENTITIES") == 0) return sentities;
    return sother;
}

}  // namespace ostra
