// ostra::unitname: what a drawing's $INSUNITS code stands for.
#ifndef OSTRA_UNITS_H
#define OSTRA_UNITS_H

namespace ostra {

// The name of the drawing units an $INSUNITS code gives ("millimeters" for
// 4, "unitless" for 0), for the 21 codes 0 to 20 of the format; null for
// any other code. The second form also gives the size of one unit in
// metres (0 for unitless); metres is left alone for an unknown code.
const char* unitname(int code);
const char* unitname(int code, double& metres);

}  // namespace ostra

#endif
