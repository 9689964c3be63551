// The state of one reader and the steps of its record state machine.
#ifndef OSTRA_READER_READERSTATE_H
#define OSTRA_READER_READERSTATE_H

#include <cstdio>

#include <brevo/geometry.h>

#include "reader/blockstore.h"
#include "reader/exact.h"
#include "reader/groupreader.h"
#include "reader/grouptable.h"
#include "reader/layertable.h"
#include "reader/polyline.h"

namespace ostra {

// The kind of the record being collected.
enum entitykind {
    knone = 0,
    klayer = 1,
    kline = 2,
    kpolyline = 3,  // POLYLINE header or LWPOLYLINE
    kvertex = 4,
    kseqend = 5,
    karc = 6,
    kcircle = 7,
    kinsert = 8,
    kblock = 9,
    kendblk = 10,
    kellipse = 11,  // read only in exact mode
};

class readerstate {
public:
    explicit readerstate(FILE* stream) : groups(stream) {}

    brevo::geometry* next(brevo::geometry& out);

    groupreader groups;
    grouptable table;
    layertable layers;
    polylinestate poly;
    blockstore blocks;
    expansion delivery;
    exactpolyline xpoly;
    int kind = knone;
    bool inentities = false;
    bool exact = false;
    int curlayer = -1;               // layer of the geometry last returned
    const char* curblock = nullptr;  // block of the geometry last returned

private:
    // Record assembly.
    void endrecord();
    void beginrecord(const char* name, int length);
    void storegroup(int code, const char* value, int length);

    // The emit rule: the test (a block is being defined or the ENTITIES
    // section was reached, then the layer check) and the delivery.
    bool emittest();
    bool uselayer();
    void emit(const brevo::geometry& g);

    // atof (C locale) of a slot.
    double g(int code) const;

    // Producers, at the end of their record.
    void produceline();
    void producearc();
    void producecircle();
    void polylinevertexgroup(int code);
    void polylinevertexend();
    void polylineclosing();
    void produceblock();
    void produceinsert();

    // The same in exact mode.
    void exactvertexgroup(int code, const char* value);
    void exactpolylineend();
    void exactvertexend();
    void exactclosing();
    void exactarc();
    void exactcircle();
    void exactellipse();

    brevo::geometry* out_ = nullptr;
    bool produced_ = false;  // emit() filled *out_ during this next() call
    int recordlayer_ = -1;     // layer index found by the last uselayer()
    bool layerknown_ = false;  // recordlayer_ is the layer of slot 8
};

}  // namespace ostra

#endif
