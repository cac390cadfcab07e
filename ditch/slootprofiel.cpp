#include "ditch/slootprofiel.h"

// Built by its own issue; this file only keeps the build whole until then.
