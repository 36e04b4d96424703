#include "lib.h"

int lib_version(void) { return 3; }
