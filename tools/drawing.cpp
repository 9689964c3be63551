#include "drawing.h"

#include <cstdio>
#include <cstring>

#include "format.h"

namespace tool {

namespace {

void say(const input& in, unsigned long long line, const std::string& message) {
    std::fprintf(stderr, "%s:%llu: %s\n", in.name().c_str(), line, message.c_str());
}

// The offending line as it can stand in a one-line message: control
// characters escaped, cut short.
std::string shown(std::string text) {
    constexpr std::size_t limit = 80;
    const bool cut = text.size() > limit;
    if (cut) text.resize(limit);
    std::string out;
    for (unsigned char c : validutf8(text)) {
        if (c < 0x20 || c == 0x7F) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02x", c);
            out += buf;
        } else {
            out += static_cast<char>(c);
        }
    }
    return cut ? out + "..." : out;
}

// Reading ended before the EOF record: a warning when something was read,
// an error when nothing was.
void ended(const input& in, ostra::reader& r, bool anything, long limit, readoutcome& out) {
    const unsigned long long line = static_cast<unsigned long long>(r.line() > 0 ? r.line() : 1);
    std::string why;
    switch (r.status()) {
    case ostra::malformedcode:
        why = std::string("numerical group code expected: ") + shown(r.badline());
        anything = anything && r.line() > 1;
        break;
    case ostra::outofmemory:
        why = "out of memory";
        break;
    case ostra::limitreached:
        why = "the work limit of " + std::to_string(limit) + " geometries was reached (--limit N, 0 for none)";
        anything = true;
        break;
    default:
        why = in.readerror() ? std::string("read error: ") + std::strerror(in.readerror())
                             : "the drawing ends without an EOF record (a cut or incomplete file)";
        break;
    }
    if (!anything) {
        if (r.status() == ostra::malformedcode) why += " (not a DXF drawing?)";
        else if (!in.readerror()) why = "no DXF groups found, not a DXF drawing";
        say(in, line, why);
        out.status = unreadable;
    } else {
        say(in, line, "warning: reading stopped early: " + why);
        out.status = stoppedearly;
    }
    out.why = "stopped early at line " + std::to_string(line) + ": " + why;
}

}  // namespace

bool openinput(input& in, const std::string& file) {
    std::string error;
    if (in.open(file, error)) return true;
    std::fprintf(stderr, "%s\n", error.c_str());
    return false;
}

readoutcome readdrawing(input& in, const options& o, const eachgeometry& each, const afterreading& after) {
    readoutcome out;
    if (in.empty()) {
        say(in, 1, "empty file, not a DXF drawing");
        out.status = unreadable;
        return out;
    }
    ostra::reader r = in.makereader();
    r.setmessages(nullptr);
    r.setexact(!o.simple);
    r.setlimit(o.limit);
    r.setutf8(!o.rawnames);
    if (!o.layers.empty()) r.setlayerfilter(o.layers.c_str());
    brevo::geometry g;
    unsigned long long count = 0;
    while (r.next(g)) {
        ++count;
        in.passed(r);
        if (!each(g, r)) {
            out.stopped = true;
            return out;
        }
    }
    if (r.status() == ostra::endofdrawing && !in.readerror()) {
        out.why = "complete";
    } else {
        ended(in, r, count > 0 || in.contentlines() >= 2, o.limit, out);
        if (out.status == unreadable) return out;
    }
    if (after) after(r);
    return out;
}

}  // namespace tool
