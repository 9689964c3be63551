#include <ostra/writer.h>

namespace ostra {

writer::writer(FILE* stream) : stream_(stream) {}
writer::~writer() = default;

}  // namespace ostra
