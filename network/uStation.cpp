#include "network/uStation.h"
