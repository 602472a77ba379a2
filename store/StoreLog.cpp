#include "StoreLog.h"

Q_LOGGING_CATEGORY(lcStore, "vireda.store", QtInfoMsg)
