#include "lib.h"

int libScale(int value) { return value * 2; }
