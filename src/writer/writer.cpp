#include <ostra/writer.h>

#include <cstring>

#include "support/number.h"

namespace ostra {

namespace {

constexpr char skeleton[] =
    "  0\nSECTION\n  2\nHEADER\n  0\nENDSEC\n"
    "  0\nSECTION\n  2\nTABLES\n  0\nENDSEC\n"
    "  0\nSECTION\n  2\nBLOCKS\n  0\nENDSEC\n"
    "  0\nSECTION\n  2\nENTITIES\n";
constexpr char closing[] = "  0\nENDSEC\n  0\nEOF\n";

// A record is composed in one buffer and written with a single fwrite: the
// entity head plus at most six coordinate groups of the form "  NN\n<v>\n".
constexpr std::size_t groupcapacity = 5 + formatcapacity + 1;
constexpr std::size_t recordcapacity = 32 + 6 * groupcapacity;

class record {
public:
    explicit record(const char* head) { text(head); }

    void text(const char* t) {
        std::size_t n = std::strlen(t);
        std::memcpy(buf_ + size_, t, n);
        size_ += n;
    }
    // A group with a two-digit code and a number value.
    void number(const char* code, double v) {
        text(code);
        size_ += formatfixed6(v, buf_ + size_);
        buf_[size_++] = '\n';
    }
    void point(const char* x, const char* y, const char* z, const brevo::point& p) {
        number(x, p.x);
        number(y, p.y);
        number(z, p.z);
    }
    const char* data() const { return buf_; }
    std::size_t size() const { return size_; }

private:
    char buf_[recordcapacity];
    std::size_t size_ = 0;
};

}  // namespace

writer::writer(FILE* stream) : stream_(stream) {}

writer::~writer() {
    if (started_ && !finished_) put(closing, sizeof closing - 1);
}

writer& writer::operator=(const writer&) = default;

// A write counts as failed when fwrite takes less than all of it, and also
// when the stream carries an error from an earlier buffered write.
bool writer::put(const char* text, std::size_t size) {
    if (!stream_) return false;
    return std::fwrite(text, 1, size, stream_) == size && !std::ferror(stream_);
}

bool writer::start() {
    if (started_) return true;
    started_ = true;
    return put(skeleton, sizeof skeleton - 1);
}

bool writer::save(const brevo::geometry* g) {
    if (!g || finished_) return false;
    if (!start()) return false;
    if (g->isof(brevo::geometry::linesegment)) {
        const brevo::lineseg* s = g->lns();
        if (!s) return false;
        record r("  0\nLINE\n  8\n0\n");
        r.point("  10\n", "  20\n", "  30\n", s->start());
        r.point("  11\n", "  21\n", "  31\n", s->end());
        return put(r.data(), r.size());
    }
    if (g->isof(brevo::geometry::fullcircle)) {
        const brevo::circle* c = g->cr();
        if (!c) return false;
        record r("  0\nCIRCLE\n  8\n0\n");
        r.point("  10\n", "  20\n", "  30\n", c->center());
        r.number("  40\n", c->radius());
        return put(r.data(), r.size());
    }
    return false;
}

bool writer::save(const brevo::geometry& g) { return save(&g); }

bool writer::save(const brevo::geometry* array, int count) {
    if (count <= 0) return true;
    if (!array) return false;
    for (int i = 0; i < count; ++i)
        if (!save(&array[i])) return false;
    return true;
}

bool writer::save(const brevo::geometry** array, int count) {
    if (count <= 0) return true;
    if (!array) return false;
    for (int i = 0; i < count; ++i)
        if (!save(array[i])) return false;
    return true;
}

bool writer::finish() {
    if (finished_) return true;
    finished_ = true;
    if (!started_) return true;
    return put(closing, sizeof closing - 1);
}

}  // namespace ostra
