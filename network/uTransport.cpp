#include "network/uTransport.h"
