#ifndef FILTER_H
#define FILTER_H
int filterApply(int value);
#endif
