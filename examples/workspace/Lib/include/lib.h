int lib_version(void);
