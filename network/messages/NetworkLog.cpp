#include "NetworkLog.h"

Q_LOGGING_CATEGORY(lcNetwork, "vireda.network", QtInfoMsg)
