#ifndef LIB_H
#define LIB_H
int libScale(int value);
#endif
