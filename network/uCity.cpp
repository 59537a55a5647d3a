#include "network/uCity.h"
