int core_start(void) { return 0; }
