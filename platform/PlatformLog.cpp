#include "PlatformLog.h"

// Debug lines are off unless QT_LOGGING_RULES="vireda.platform.debug=true".
Q_LOGGING_CATEGORY(lcPlatform, "vireda.platform", QtInfoMsg)
