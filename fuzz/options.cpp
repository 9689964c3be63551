// Sanitizer defaults for the fuzz targets and replay drivers: stack traces,
// every sanitizer error fatal, and the suppressions of known faults.
#ifndef OSTRA_FUZZ_SUPPRESSIONS
#error "OSTRA_FUZZ_SUPPRESSIONS must name the suppressions file"
#endif

extern "C" const char* __ubsan_default_options() {
    return "print_stacktrace=1:halt_on_error=1:suppressions=" OSTRA_FUZZ_SUPPRESSIONS;
}
