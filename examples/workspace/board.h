/* Shared by every project of the workspace. */
#define BOARD_NAME "demo"
