#include "lib.h"

int appStart(void) { return libScale(21); }
