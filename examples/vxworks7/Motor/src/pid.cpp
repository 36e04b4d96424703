#include "motor.h"
#include "filter.h"

int pidStep(int error) { return filterApply(error) / 2; }
