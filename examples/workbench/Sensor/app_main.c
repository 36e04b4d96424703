#include "sensor.h"

int sensorAppStart(void) { return sensorRead(); }
