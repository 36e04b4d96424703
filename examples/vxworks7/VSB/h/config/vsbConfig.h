#ifndef VSB_CONFIG_H
#define VSB_CONFIG_H
#define _WRS_CONFIG_SMP 1
#endif
