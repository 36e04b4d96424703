const char* motorVersion = MOTOR_REV;
