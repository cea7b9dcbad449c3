// Built with the compile line of a target above the platform, the header it names must be found
// where the layers allow it (the platform's interfaces) and not found where they do not.
#include PAGEWICK_PROBE_HEADER
