#include "network/uRoute.h"
