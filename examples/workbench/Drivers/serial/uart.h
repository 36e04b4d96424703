#ifndef UART_H
#define UART_H
int uartOpen(void);
#endif
