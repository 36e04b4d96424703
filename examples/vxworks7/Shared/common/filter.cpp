#include "filter.h"

int filterApply(int value) { return value; }
