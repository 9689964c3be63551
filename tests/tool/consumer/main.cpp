// Reads the drawing named first, writes its segments and circles to the file
// named second, and prints "VERSION READ WRITTEN".
#include <cstdio>

#include <brevo/geometry.h>
#include <ostra/reader.h>
#include <ostra/version.h>
#include <ostra/writer.h>

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    FILE* in = std::fopen(argv[1], "r");
    FILE* out = std::fopen(argv[2], "w");
    if (!in || !out) return 1;
    int read = 0, written = 0;
    {
        ostra::reader r(in);
        ostra::writer w(out);
        brevo::geometry g;
        while (r.next(g)) {
            ++read;
            if ((g.lns() || g.cr()) && w.save(g)) ++written;
        }
        if (!w.finish()) return 1;
    }
    std::fclose(in);
    if (std::fclose(out) != 0) return 1;
    std::printf("%s %d %d\n", ostra::version(), read, written);
    return 0;
}
