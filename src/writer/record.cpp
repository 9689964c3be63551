#include "writer/record.h"

namespace ostra {

double printed(double v) {
    char buf[formatcapacity + 1];
    const std::size_t n = formatfixed6(v, buf);
    buf[n] = '\0';
    return parsedouble(buf);
}

}  // namespace ostra
