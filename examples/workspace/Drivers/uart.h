void uart_put(char c);
