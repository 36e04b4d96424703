#include "sensor.h"

int sensorTestStart(void) { return sensorRead() == 42 ? 0 : 1; }
