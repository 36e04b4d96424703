#ifndef SENSOR_H
#define SENSOR_H
int sensorRead(void);
#endif
