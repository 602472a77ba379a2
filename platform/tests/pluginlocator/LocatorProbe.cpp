#include "LocatorProbe.h"
