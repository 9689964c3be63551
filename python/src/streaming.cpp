#include "streaming.h"

namespace ostrapy {

const char* itemkind(const item& i) {
    switch (i.g.type()) {
    case brevo::geometry::linesegment: return "segment";
    case brevo::geometry::circulararc: return "arc";
    case brevo::geometry::fullcircle: return "circle";
    case brevo::geometry::ellipticarc: return "ellipse";
    case brevo::geometry::singlepoint: return "point";
    default: return "none";
    }
}

streamreader::streamreader(const std::string& kind, const py::object& obj, const readoptions& o)
    : source_(new source(kind, obj)) {
    reader_ = source_->makereader();
    configure(*reader_, o);
}

py::object streamreader::cached(std::unordered_map<const char*, py::object>& cache, const char* text) {
    if (!text) return py::none();
    auto it = cache.find(text);
    if (it == cache.end()) it = cache.emplace(text, py::str(text)).first;
    return it->second;
}

item streamreader::next() {
    if (done_ || !reader_) throw py::stop_iteration();
    item i;
    bool got;
    {
        py::gil_scoped_release nogil;
        got = reader_->next(i.g) != nullptr;
        if (got && (++count_ & 1023) == 0) source_->passed(reader_->offset());
    }
    source_->rethrow();
    if (!got) {
        done_ = true;
        throw py::stop_iteration();
    }
    i.layer = cached(layers_, reader_->currentlayer());
    i.block = cached(blocks_, reader_->currentblock());
    const char* record = reader_->currentrecord();
    if (!record) record = "";
    auto it = records_.find(record);
    if (it == records_.end()) it = records_.emplace(record, py::str(record)).first;
    i.record = it->second;
    i.handle = reader_->currenthandle();
    i.color = reader_->currentcolor();
    i.aci = reader_->currentaci();
    i.itemnumber = reader_->currentitem();
    i.piece = reader_->currentpiece();
    i.closed = reader_->currentclosed();
    return i;
}

void streamreader::close() {
    if (!reader_) return;
    ended_ = current();
    reader_.reset();
    source_.reset();
    done_ = true;
}

listings streamreader::current() {
    if (!reader_) return ended_;
    return takelistings(*reader_);
}

py::object streamreader::header(const std::string& name, const py::object& code) {
    if (!reader_) return py::none();
    const char* text = code.is_none() ? reader_->header(name.c_str()) : reader_->header(name.c_str(), code.cast<int>());
    return text ? py::object(py::str(text)) : py::object(py::none());
}

}  // namespace ostrapy
