#include "motor.h"

int motorStart(int axis) { return axis < MOTOR_AXES ? 0 : -1; }
