// Reads a whole drawing with ostra::reader and builds every geometry.
// usage: readdxf [--exact] [--text items|strokes] [--dump] [--mmap | --memory]
// FILE; prints the
// counts, a checksum of the coordinates and the wall-clock and CPU seconds
// of the loop. --exact reads with the exact reading, --text with texts (as
// points or as strokes). --mmap maps the file
// into memory and reads it from there (the mapping, its page faults and its
// release are timed too); --memory reads the file into memory first, untimed,
// as a host that holds the drawing already; else it is read through a C
// stream. With --dump it prints every geometry with its
// layer and block too, numbers exact (%a), for comparing two builds of the
// library on the same drawing.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ostra/reader.h>

#include "cputime.h"

namespace {

// A file mapped into memory, read only. The pages the reader has passed are
// given back now and then, so that they do not add up in the resident set.
class mapping {
public:
    bool open(const char* name) {
        int fd = ::open(name, O_RDONLY | O_CLOEXEC);
        if (fd < 0) return false;
        struct stat st;
        bool ok = fstat(fd, &st) == 0;
        size_ = ok ? static_cast<std::size_t>(st.st_size) : 0;
        if (ok && size_ > 0) {
            void* p = mmap(nullptr, size_, PROT_READ, MAP_PRIVATE, fd, 0);
            ok = p != MAP_FAILED;
            data_ = ok ? static_cast<const char*>(p) : nullptr;
            // Read front to back: the kernel reads ahead and may drop what
            // was passed; the will-need starts reading a file not yet cached.
            if (ok) {
                madvise(p, size_, MADV_SEQUENTIAL);
                madvise(p, size_, MADV_WILLNEED);
            }
        }
        ::close(fd);
        return ok;
    }
    ~mapping() {
        if (data_) munmap(const_cast<char*>(data_), size_);
    }
    const char* data() const { return data_; }
    std::size_t size() const { return size_; }
    // The reader stands at offset: the whole pages before it go.
    void passed(std::size_t offset) {
        static const std::size_t page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
        std::size_t upto = offset / page * page;
        if (!data_ || upto < released_ + (std::size_t(4) << 20)) return;
        madvise(const_cast<char*>(data_) + released_, upto - released_, MADV_DONTNEED);
        released_ = upto;
    }

private:
    const char* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t released_ = 0;
};

void dump(const brevo::geometry& g, ostra::reader& r) {
    const char* layer = r.currentlayer();
    const char* block = r.currentblock();
    std::printf("[%s|%s] ", layer ? layer : "", block ? block : "");
    if (const brevo::point* p = g.pt()) {
        std::printf("point %a %a %a\n", p->x, p->y, p->z);
    } else if (const brevo::lineseg* s = g.lns()) {
        brevo::point a = s->start(), b = s->end();
        std::printf("line %a %a %a %a %a %a\n", a.x, a.y, a.z, b.x, b.y, b.z);
    } else if (const brevo::arc* a = g.ar()) {
        brevo::point c = a->center(), s = a->start();
        brevo::vector n = a->normal();
        std::printf("arc %a %a %a %a %a %a %a %a %a %a\n", c.x, c.y, c.z, n.x, n.y, n.z, s.x, s.y, s.z, a->sweep());
    } else if (const brevo::circle* c = g.cr()) {
        brevo::point m = c->center();
        std::printf("circle %a %a %a %a\n", m.x, m.y, m.z, c->radius());
    } else if (const brevo::ellipse* e = g.el()) {
        brevo::point m = e->center();
        brevo::vector u = e->majoraxis();
        std::printf("ellipse %a %a %a %a %a %a %a %a %a\n", m.x, m.y, m.z, u.x, u.y, u.z, e->ratio(), e->startparam(),
                    e->endparam());
    } else {
        std::printf("other\n");
    }
}

}  // namespace

int main(int argc, char** argv) {
    bool dumping = false, exact = false, mapped = false, held = false;
    ostra::textmode texts = ostra::notext;
    const char* name = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--dump") == 0)
            dumping = true;
        else if (std::strcmp(argv[i], "--exact") == 0)
            exact = true;
        else if (std::strcmp(argv[i], "--text") == 0 && i + 1 < argc)
            texts = std::strcmp(argv[++i], "strokes") == 0 ? ostra::textstrokes : ostra::textitems;
        else if (std::strcmp(argv[i], "--mmap") == 0)
            mapped = true;
        else if (std::strcmp(argv[i], "--memory") == 0)
            held = true;
        else if (!name)
            name = argv[i];
        else
            name = "";
    }
    if (!name || !*name) {
        std::fprintf(stderr, "usage: readdxf [--exact] [--text items|strokes] [--dump] [--mmap | --memory] FILE\n");
        return 2;
    }
    FILE* f = mapped ? nullptr : std::fopen(name, "r");
    if (!mapped && !f) {
        std::perror(name);
        return 1;
    }
    std::vector<char> bytes;
    if (held) {
        struct stat st;
        bytes.resize(fstat(fileno(f), &st) == 0 ? static_cast<std::size_t>(st.st_size) : 0);
        bytes.resize(std::fread(bytes.data(), 1, bytes.size(), f));
        std::fclose(f);
        f = nullptr;
    }
    long long n = 0, segs = 0, arcs = 0, circles = 0, other = 0;
    double sum = 0;
    auto t0 = std::chrono::steady_clock::now();
    double c0 = cpuseconds();
    {
        mapping m;
        if (mapped && !m.open(name)) {
            std::perror(name);
            return 1;
        }
        ostra::reader r = mapped ? ostra::reader(m.data(), m.size())
                          : held ? ostra::reader(bytes.data(), bytes.size())
                                 : ostra::reader(f);
        r.setexact(exact);
        r.settext(texts);
        brevo::geometry g;
        while (r.next(g)) {
            ++n;
            if ((n & 1023) == 0) m.passed(r.offset());
            if (dumping) dump(g, r);
            if (const brevo::lineseg* s = g.lns()) {
                ++segs;
                sum += s->start().x + s->end().y;
            } else if (const brevo::arc* a = g.ar()) {
                ++arcs;
                sum += a->center().x;
            } else if (const brevo::circle* c = g.cr()) {
                ++circles;
                sum += c->radius();
            } else {
                ++other;
            }
        }
    }
    auto t1 = std::chrono::steady_clock::now();
    double c1 = cpuseconds();
    if (f) std::fclose(f);
    std::printf("geometries %lld segments %lld arcs %lld circles %lld other %lld sum %.17g\n", n, segs, arcs,
                circles, other, sum);
    std::printf("seconds %.6f\n", std::chrono::duration<double>(t1 - t0).count());
    std::printf("cpu %.6f\n", c1 - c0);
    return 0;
}
