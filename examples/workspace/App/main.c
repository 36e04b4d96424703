#include "board.h"

int main(void) { return board_init(); }
