#include "SearchLog.h"

Q_LOGGING_CATEGORY(lcSearch, "vireda.search", QtInfoMsg)
