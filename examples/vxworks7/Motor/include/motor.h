#ifndef MOTOR_H
#define MOTOR_H
int motorStart(int axis);
#endif
