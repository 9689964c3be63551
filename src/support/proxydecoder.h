// The decoder behind decodeproxy(): the stream's walk, the attribute state
// and model transforms (proxygraphics.cpp), and the primitives with counts
// and texts (proxyshapes.cpp).
#ifndef OSTRA_SUPPORT_PROXYDECODER_H
#define OSTRA_SUPPORT_PROXYDECODER_H

#include <cstdint>
#include <string>
#include <vector>

#include "support/proxybytes.h"
#include "support/proxygraphics.h"

namespace ostra {

class proxydecoder {
public:
    explicit proxydecoder(proxysink& sink) : sink_(sink) {}
    proxyresult run(const unsigned char* data, std::size_t size);

private:
    enum outcome { drew, nothing, bad, unknown };

    outcome primitive(std::uint32_t type, bytereader& r);
    outcome attribute(std::uint32_t type, bytereader& r);
    outcome push(std::uint32_t type, bytereader& r);
    outcome pop();
    outcome circle(bytereader& r);
    outcome circle3(bytereader& r);
    outcome arc(bytereader& r);
    outcome arc3(bytereader& r);
    outcome points(std::uint32_t type, bytereader& r);
    outcome mesh(bytereader& r);
    outcome shell(bytereader& r);
    outcome text(std::uint32_t type, bytereader& r);
    outcome lwpolyline(bytereader& r);

    bool readpoints(bytereader& r, std::uint32_t n);
    bool readtext(bytereader& r, bool wide, std::string& out);
    void emitarc(proxyarc a);
    void emitbulge(const brevo::point& centre, const brevo::vector& ax, const brevo::vector& ay, double radius,
                   double t0, double sweep);

    proxysink& sink_;
    proxystate state_;
    brevo::trafo current_;
    std::vector<brevo::trafo> saved_;
    int overflow_ = 0;  // pushes beyond maxproxydepth not yet popped
    std::vector<brevo::point> points_;
    std::vector<std::int32_t> faces_;
    std::vector<double> bulges_;
    std::string text_, font_, bigfont_;
};

}  // namespace ostra

#endif
