#include "drawing.h"

#include <cstdio>
#include <cstring>

#include "capture.h"
#include "format.h"

namespace tool {

bool exactreading = false;

namespace {

void fail(const input& in, unsigned long long line, const std::string& message) {
    std::fprintf(stderr, "%s:%llu: %s\n", in.name().c_str(), line, message.c_str());
}

// The offending line as it can stand in a one-line message: without the
// carriage return of a CRLF file, control characters escaped, cut short.
std::string shown(std::string text) {
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n')) text.pop_back();
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

}  // namespace

readstatus readdrawing(input& in, const std::string& layers, const eachgeometry& each,
                       const afterreading& after) {
    if (in.empty()) {
        fail(in, 1, "empty file, not a DXF drawing");
        return readstatus::badinput;
    }

    stdoutcapture capture;
    ostra::reader r = in.makereader();
    r.setexact(exactreading);
    if (!layers.empty()) r.setlayerfilter(layers.c_str());
    brevo::geometry g;
    unsigned long long count = 0;
    bool stopped = false;
    while (r.next(g)) {
        ++count;
        in.passed(r);
        if (!each(g, r.currentlayer(), r.currentblock())) {
            stopped = true;
            break;
        }
    }
    const diagnostic d = parsediagnostic(capture.finish());
    // Anything else the library printed is passed on rather than lost.
    if (!d.rest.empty()) {
        std::fputs(d.rest.c_str(), stderr);
        if (d.rest.back() != '\n') std::fputc('\n', stderr);
    }
    if (stopped) return readstatus::stopped;

    if (d.found) {
        std::string message = d.message + ": " + shown(d.text);
        if (d.line == 1) message += " (not a DXF drawing?)";
        fail(in, static_cast<unsigned long long>(d.line), message);
        return readstatus::badinput;
    }
    if (in.readerror() != 0) {
        fail(in, in.lines(), std::string("read error: ") + std::strerror(in.readerror()));
        return readstatus::badinput;
    }
    if (count == 0 && in.contentlines() < 2) {
        fail(in, in.lines() > 0 ? in.lines() : 1, "no DXF groups found, not a DXF drawing");
        return readstatus::badinput;
    }
    if (after) after(r);
    return readstatus::ok;
}

}  // namespace tool
