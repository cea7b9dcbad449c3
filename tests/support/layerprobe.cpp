// Built with one of app/'s own compile lines, the header it names must be found where the layers
// allow it (the platform's interfaces) and not found where they do not (a backend's).
#include PAGEWICK_PROBE_HEADER
