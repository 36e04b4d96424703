#ifndef NET_API_H
#define NET_API_H
int netSend(int value);
#endif
