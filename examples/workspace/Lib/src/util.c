#include "lib.h"

int util_clamp(int v) { return v < 0 ? 0 : v; }
