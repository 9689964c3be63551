#include <ostra/writer.h>

#include <cstring>
#include <new>

#include "writer/entitywriter.h"
#include "writer/headerlist.h"
#include "writer/layerlist.h"
#include "writer/record.h"

namespace ostra {

namespace {

constexpr char header[] = "  0\nSECTION\n  2\nHEADER\n  0\nENDSEC\n";
constexpr char emptytables[] = "  0\nSECTION\n  2\nTABLES\n  0\nENDSEC\n";
constexpr char toentities[] =
    "  0\nSECTION\n  2\nBLOCKS\n  0\nENDSEC\n"
    "  0\nSECTION\n  2\nENTITIES\n";
constexpr char closing[] = "  0\nENDSEC\n  0\nEOF\n";

// The list p points to, made for this writer alone: a new one, or a copy of
// one that other writers share. Null when memory runs out.
template <class T>
T* own(std::shared_ptr<T>& p) {
    try {
        if (!p)
            p = std::make_shared<T>();
        else if (p.use_count() > 1)
            p = std::make_shared<T>(*p);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    return p.get();
}

}  // namespace

writer::writer(FILE* stream) : stream_(stream) {}

writer::~writer() {
    if (started_ && !finished_) put(closing, sizeof closing - 1);
}

writer& writer::operator=(const writer&) = default;

bool writer::put(const char* text, std::size_t size) { return writeall(stream_, text, size); }

void writer::setextended(bool extended) {
    if (!started_ && !finished_) extended_ = extended;
}

bool writer::setlayer(const char* name) {
    if (!validlayername(name)) return false;
    std::memcpy(layer_, name, std::strlen(name) + 1);
    return true;
}

void writer::setcolor(int aci) {
    if (aci >= 0 && aci <= 256) color_ = aci;
}

// The entries are shared with copies of this writer: a shared list is
// copied before it changes.
bool writer::addlayer(const char* name, int aci) {
    return aci >= 1 && addlayer(name, aci, 0, nullptr);
}

bool writer::addlayer(const char* name, int aci, int flags, const char* linetype) {
    if (started_ || finished_) return false;
    layerlist* list = own(layers_);
    return list && list->add(name, aci, flags, linetype);
}

bool writer::addheader(const char* name, int code, const char* value) {
    if (started_ || finished_) return false;
    headerlist* list = own(header_);
    return list && list->add(name, code, value);
}

// The sections before the entities; in the extended mode the HEADER
// section holds the variables added and the TABLES section the LTYPE and
// LAYER tables when layers were added.
bool writer::start() {
    if (started_) return true;
    started_ = true;
    const bool variables = extended_ && header_ && !header_->empty();
    if (variables ? !header_->write(stream_) : !put(header, sizeof header - 1)) return false;
    const bool table = extended_ && layers_ && !layers_->empty();
    if (table ? !layers_->writetables(stream_) : !put(emptytables, sizeof emptytables - 1)) return false;
    return put(toentities, sizeof toentities - 1);
}

bool writer::save(const brevo::geometry* g) {
    if (!g || finished_) return false;
    if (!start()) return false;
    if (extended_) return entitywriter(stream_, layer_, color_).save(*g);
    return savesimple(*g);
}

bool writer::savesimple(const brevo::geometry& g) {
    if (const brevo::lineseg* s = g.lns()) {
        record r("  0\nLINE\n  8\n0\n");
        r.point("  10\n", "  20\n", "  30\n", s->start());
        r.point("  11\n", "  21\n", "  31\n", s->end());
        return r.writeto(stream_);
    }
    if (const brevo::circle* c = g.cr()) {
        record r("  0\nCIRCLE\n  8\n0\n");
        r.point("  10\n", "  20\n", "  30\n", c->center());
        r.number("  40\n", c->radius());
        return r.writeto(stream_);
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
