#include "shell/getallen.h"

// Built by its own issue; this file only keeps the build whole until then.
