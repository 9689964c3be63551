// ostra::writer: writes line segments and circles as a minimal DXF file.
#ifndef OSTRA_WRITER_H
#define OSTRA_WRITER_H

#include <cstdio>

#include <brevo/geometry.h>

namespace ostra {

class writer {
public:
    explicit writer(FILE* stream);
    ~writer();

private:
    FILE* stream_;
    bool started_ = false;
};

}  // namespace ostra

#endif
